#include "platform/formats/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <new>

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

// Where the encoder's output goes, and the reason it stopped, if it did.
// The error text is copied: libpng may pass a buffer that the jump discards.
struct Output {
  std::vector<uint8_t>* bytes = nullptr;
  char error[128] = {};

  void fail(const char* message) {
    if (error[0] != 0) return;
    std::snprintf(error, sizeof error, "%s", message ? message : "unknown error");
  }
};

void OnError(png_structp png, png_const_charp message) {
  static_cast<Output*>(png_get_error_ptr(png))->fail(message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Output*>(png_get_io_ptr(png));
  bool appended = true;
  try {
    out->bytes->insert(out->bytes->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    appended = false;
  }
  // The jump back to the encoder happens outside the handler.
  if (!appended) {
    out->fail("out of memory");
    png_error(png, "out of memory");
  }
}

void OnFlush(png_structp) {}

// The libpng calls. A libpng error jumps back here, so nothing in this function
// owns a resource: the row buffer and the output belong to the caller.
bool Encode(png_structp png, png_infop info, const Dib& dib, png_bytep rowBuffer) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, png_uint_32(dib.width()), png_uint_32(dib.height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < dib.height(); ++y) {
    png_bytep p = rowBuffer;
    for (int x = 0; x < dib.width(); ++x) {
      COLORREF c = dib.pixel(x, y);
      *p++ = GetRValue(c);
      *p++ = GetGValue(c);
      *p++ = GetBValue(c);
    }
    png_write_row(png, rowBuffer);
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Dib& dib) {
  if (dib.empty()) throw EInOutError("Cannot write an empty picture as PNG");
  std::vector<uint8_t> bytes;
  std::vector<png_byte> row(size_t(dib.width()) * 3);
  Output out;
  out.bytes = &bytes;

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, OnError, OnWarning);
  if (png == nullptr) throw EInOutError("Cannot start the PNG encoder");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    throw EInOutError("Cannot start the PNG encoder");
  }
  png_set_write_fn(png, &out, OnWrite, OnFlush);
  bool ok = Encode(png, info, dib, row.data());
  png_destroy_write_struct(&png, &info);
  if (!ok) throw EInOutError(std::string("PNG encoding failed: ") + (out.error[0] ? out.error : "unknown error"));
  return bytes;
}

void WritePng(const Dib& dib, const std::string& path) {
  std::vector<uint8_t> bytes = EncodePng(dib);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.is_open()) throw EInOutError("Cannot create file \"" + path + "\"");
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  file.close();
  if (!file) throw EInOutError("Cannot write file \"" + path + "\"");
}

}  // namespace tlb
