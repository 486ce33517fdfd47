#pragma once
// The talking mouse of the games and the rhymes: a narration played through a
// media player while the mouse's mouth clip runs.
#include <string>

#include "platform/media/media_player.h"
#include "shared/AVI_delp.h"

namespace tq {

// Opens `path` afresh in `player` (a failure shows failText followed by the path),
// plays it and starts the mouth clip. Each of the three steps has its own handler:
// a file that cannot be opened still gets the play and the mouth.
void StartMouseNarration(tlb::TMediaPlayer* player, TAVI_orvo1* mouth, const std::string& path,
                         const std::string& failText);

// Stops the narration, then the mouth clip; a failure of either is passed over.
void StopMouseNarration(tlb::TMediaPlayer* player, TAVI_orvo1* mouth);

}  // namespace tq
