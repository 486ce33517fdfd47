#pragma once
// The class library's exception hierarchy. Library failures arrive as these;
// the message loop's one catch shows them in a stop box and the program goes on.
#include <exception>
#include <string>

namespace tlb {

// Message is a code page 1250 byte string, as every text of the system.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  std::string Message;
};

#define TLB_EXCEPTION(Name)                         \
  class Name : public Exception {                   \
   public:                                          \
    using Exception::Exception;                     \
  }

TLB_EXCEPTION(EInvalidOperation);   // "Invalid image size", "Unable to Replace Image"
TLB_EXCEPTION(EInOutError);         // run-time library I/O errors (ChDir)
TLB_EXCEPTION(EFOpenError);         // a file that cannot be opened for reading
TLB_EXCEPTION(EReadError);          // malformed data (form descriptions, streams)
TLB_EXCEPTION(EInvalidGraphic);     // a picture file that is not a valid bitmap
TLB_EXCEPTION(ERegistryException);  // registry wrapper failures
TLB_EXCEPTION(EMCIDeviceError);     // media player: "No MCI device open", open failures
TLB_EXCEPTION(EAnimateError);       // animation control: "Cannot open AVI"
TLB_EXCEPTION(EConvertError);       // text that does not read as a number
TLB_EXCEPTION(EInvalidCast);        // the class library's invalid type cast
TLB_EXCEPTION(EListError);          // list index out of bounds
TLB_EXCEPTION(EOutOfResources);     // a native handle that cannot be made
TLB_EXCEPTION(EUnsupported);        // a platform call with a parameter it does not support

#undef TLB_EXCEPTION

}  // namespace tlb
