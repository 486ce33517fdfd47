#include "games/src/kamen_speech.h"

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "shared/Technic2.h"

namespace tq {

using namespace tlb;

TSpeechQueue::TSpeechQueue(TListBox* playlist, TMediaPlayer* player, SpeechQueueFlags& flags)
    : playlist_(playlist), player_(player), flags_(flags) {}

void TSpeechQueue::Queue(const std::string& fileName) { playlist_->Items().Add(DataDir() + "\\zvuky\\" + fileName); }

bool TSpeechQueue::Speaking() const {
  try {
    return player_->Mode() == mpPlaying;
  } catch (const Exception&) {
    return false;
  }
}

void TSpeechQueue::Stop() {
  ++stops_;
  playlist_->Items().Clear();
  try {
    if (player_->Mode() == mpPlaying) player_->Close();
  } catch (const Exception&) {
    ShowMessage(Cz("Nelze vypnout zvuk, WINDOWS nedovolil přístup ke kartě (pravděpodobně obsluha jiného "
                   "programu blokuje bránu karty). "));
  }
}

void TSpeechQueue::DeleteHead() {
  // The queue may have been emptied by a Stop while the player pumped.
  if (playlist_->Items().Count() > 0) playlist_->Items().Delete(0);
}

// Opens the file at the head, with one retry after a failure.
bool TSpeechQueue::OpenHead(const std::string& path) {
  try {
    player_->FileName = path;
    player_->Close();
    Application->ProcessMessages();
    player_->Open();
    return true;
  } catch (const Exception&) {
  }
  try {
    Application->ProcessMessages();
    player_->Close();
    Application->ProcessMessages();
    player_->Open();
    return true;
  } catch (const Exception&) {
    return false;
  }
}

// Waits while the player is still opening, then while it is seeking; a skip ends
// each wait at once. A wait whose condition is already false pumps nothing.
void TSpeechQueue::WaitToSettle() {
  try {
    flags_.SkipRequested = false;
    PumpUntil([&] { return player_->Mode() != mpOpen || flags_.SkipRequested; });
    flags_.SkipRequested = false;
    PumpUntil([&] { return player_->Mode() != mpSeeking || flags_.SkipRequested; });
  } catch (const Exception&) {
  }
}

void TSpeechQueue::Tick() {
  if (flags_.Closing || playlist_->Items().Count() == 0) return;
  try {
    TMPModes mode = player_->Mode();
    if (mode == mpPlaying || mode == mpOpen || mode == mpSeeking) return;
  } catch (const Exception&) {
  }
  if (flags_.QueueBusy) return;
  flags_.QueueBusy = true;
  const unsigned stops = stops_;
  const std::string path = playlist_->Items()[0];
  if (!OpenHead(path)) {
    // A file that cannot be opened leaves the queue and counts as started, so
    // that the introduction still ends after its ninth file; the following file
    // stays queued for the next tick.
    DeleteHead();
    flags_.IntroStep += 1;
    flags_.QueueBusy = false;
    return;
  }
  for (int i = 0; i < 3; ++i) Application->ProcessMessages();
  WaitToSettle();
  flags_.SkipRequested = false;
  // A Stop or the end request during the pumps above leaves the file unplayed.
  if (stops != stops_ || flags_.Closing) {
    flags_.QueueBusy = false;
    return;
  }
  flags_.IntroStep += 1;
  try {
    player_->Play();
  } catch (const Exception&) {
    DeleteHead();
    flags_.QueueBusy = false;
    return;
  }
  StopWave();  // silences a hover name or a clap that is still sounding
  WaitToSettle();
  // A file that did not start stays at the head and is started again later.
  if (stops == stops_ && Speaking()) DeleteHead();
  flags_.QueueBusy = false;
}

}  // namespace tq
