#pragma once
// The class library's bit set: a growable array of flags, used to find free slots.
#include <vector>

#include "platform/core/exceptions.h"

namespace tlb {

class TBits {
 public:
  int Size() const { return int(bits_.size()); }
  // Growing adds clear bits; shrinking drops the bits past the new size.
  void SetSize(int size) {
    if (size < 0) throw EListError("Bits index out of range");
    bits_.resize(size_t(size), false);
  }
  bool Bits(int index) const {
    if (index < 0) throw EListError("Bits index out of range");
    return index < Size() && bits_[size_t(index)];
  }
  // Setting a bit past the end grows the set to hold it.
  void SetBits(int index, bool value) {
    if (index < 0) throw EListError("Bits index out of range");
    if (index >= Size()) SetSize(index + 1);
    bits_[size_t(index)] = value;
  }
  // The index of the first clear bit, or Size() when every bit is set.
  int OpenBit() const {
    for (int i = 0; i < Size(); ++i)
      if (!bits_[size_t(i)]) return i;
    return Size();
  }

 private:
  std::vector<bool> bits_;
};

}  // namespace tlb
