#pragma once
// Which output frame is being heard, worked out from the times at which the
// audio device takes its blocks.
//
// A block the device takes at time t is heard at t + latency at the latest,
// where the latency is what the device and the system buffer after it. So every
// block bounds the line "frame heard against time" from below; the tightest
// bound of the last quarter second (of the last few blocks, when they are long)
// is taken and followed at the output's rate between blocks. The result never
// runs ahead of the sound, whether the device asks for blocks evenly or in
// bursts, and it moves smoothly: it never goes back as time goes on, and never
// past the frames handed out.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tlb {

class AudioClock {
 public:
  explicit AudioClock(int rate);

  // Frames between the device taking a frame and that frame being heard, at most.
  void SetLatencyFrames(int64_t frames) { latencyFrames_ = frames; }
  // For a device whose latency counts only the sound queued ahead of a block
  // taken on time (a sound server's stream): blocks it takes in a burst, less
  // than half a block apart, queue behind one another, so each is counted as
  // taken when the one before it would have run out; and a block taken early
  // now and then does not set the bound alone.
  void SetServerStream(bool server) { serverStream_ = server; }
  int64_t LatencyFrames() const { return latencyFrames_; }

  // The device takes output frames [frame, frame + count) at `nowUs`.
  void Handed(int64_t frame, int count, int64_t nowUs);
  // The device stopped taking blocks for a while and takes them again: from
  // the next block on, the blocks before it bound the line no more (they would
  // have the next frames heard too early).
  void Restart() { restarted_ = true; }
  // The output frame heard at `nowUs` (0 before any block).
  int64_t Heard(int64_t nowUs);

 private:
  // Past this age a block no longer bounds the line, so that a device clock
  // slower than the program's is followed rather than overtaken.
  static constexpr int64_t kWindowUs = 250'000;
  // The window holds this many blocks at the least: a device with long blocks
  // hands one every fifth of a second or so, at times that vary by a good part
  // of a block, and a bound from one or two blocks would move the position on
  // by fits and starts.
  static constexpr int64_t kWindowBlocks = 4;
  // How much slower than the program's clock a device's may run: a bound
  // taken from an older block is moved on by this much of its age.
  static constexpr double kSlowestClock = 0.001;

  struct Mark {
    int64_t us;      // when the block was taken
    double lineUs;   // when frame 0 would be heard on the bound this block gives
  };
  int rate_;
  int64_t latencyFrames_ = 0;
  std::vector<Mark> marks_;  // a ring of the last blocks
  size_t next_ = 0;          // where the next mark goes
  size_t count_ = 0;
  double lastLineUs_ = 0;    // the bound in use when no mark is young enough
  int64_t handedEnd_ = 0;    // the frames handed out so far
  int64_t blockUs_ = 0;      // how long the last block lasts
  bool serverStream_ = false;
  int64_t lastTakenUs_ = 0;  // when the last block was taken
  int64_t lastDueUs_ = 0;    // when it counted as taken (see SetServerStream)
  int64_t lastHeard_ = 0;
  int64_t lastQueryUs_ = INT64_MIN;
  bool restarted_ = false;
};

}  // namespace tlb
