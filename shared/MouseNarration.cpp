#include "shared/MouseNarration.h"

#include "platform/ui/dialogs.h"

namespace tq {

using namespace tlb;

void StartMouseNarration(TMediaPlayer* player, TAVI_orvo1* mouth, const std::string& path,
                         const std::string& failText) {
  try {
    player->FileName = path;
    player->Close();
    player->Open();
  } catch (const std::exception&) {
    ShowMessage(failText + path);
  }
  try {
    player->Play();
  } catch (const std::exception&) {
  }
  try {
    mouth->SetActive(true);
  } catch (const std::exception&) {
  }
}

void StopMouseNarration(TMediaPlayer* player, TAVI_orvo1* mouth) {
  try {
    player->Stop();
  } catch (const std::exception&) {
  }
  try {
    mouth->SetActive(false);
  } catch (const std::exception&) {
  }
}

}  // namespace tq
