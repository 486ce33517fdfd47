#include "platform/backend/program_main.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/core/exceptions.h"
#include "platform/ui/forms.h"

namespace tlb {

int RunProgramMain(const std::function<void()>& program) {
  std::unique_ptr<Backend> backend;
  const char* kind = std::getenv("TULIMBO_BACKEND");
  try {
    if (kind && std::strcmp(kind, "headless") == 0) backend = std::make_unique<HeadlessBackend>();
    else backend = std::make_unique<SdlBackend>();
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
  int code = 0;
  StartProgramRun(backend.get());
  try {
    program();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    code = 1;
  }
  EndProgramRun();
  backend.reset();
  SDL_Quit();
  return code;
}

}  // namespace tlb
