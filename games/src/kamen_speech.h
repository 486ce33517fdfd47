#pragma once
// The spoken queue of the rock-paper-scissors form: WAV files played one after
// another through one hidden media player. The files wait as full paths in a
// hidden list box; a 200 ms timer calls Tick, which starts the file at the head
// once the player has fallen silent and takes it off the queue once it plays.
#include <string>

#include "platform/media/media_player.h"
#include "platform/ui/stdctrls.h"

namespace tq {

// The flags the queue player shares with the form around it.
struct SpeechQueueFlags {
  bool Closing = false;        // the end was requested: no file is started any more
  bool SkipRequested = false;  // the child asked to skip; ends the player's waits
  int IntroStep = 0;           // files started (or given up) since the introduction began
  bool QueueBusy = false;      // the player is starting a file
};

class TSpeechQueue {
 public:
  TSpeechQueue(tlb::TListBox* playlist, tlb::TMediaPlayer* player, SpeechQueueFlags& flags);

  // Appends DataDir + "\zvuky\" + `fileName` to the queue.
  void Queue(const std::string& fileName);
  // One tick of the player timer: starts the file at the head when nothing plays.
  void Tick();
  // Empties the queue and cuts off a file that plays; a stopped player stays open.
  void Stop();
  // True while the player plays (the queue is speaking).
  bool Speaking() const;

 private:
  bool OpenHead(const std::string& path);
  void WaitToSettle();
  void DeleteHead();

  tlb::TListBox* playlist_;
  tlb::TMediaPlayer* player_;
  SpeechQueueFlags& flags_;
  // Counts the Stop calls, so that a start notices a Stop that came during its pumps.
  unsigned stops_ = 0;
};

}  // namespace tq
