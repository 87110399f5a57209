#include <climits>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "ui/picture_decoders.h"

// libjpeg reports a fatal error by calling error_exit, which must not return;
// we leave it by longjmp back into DecodeGuarded. On 64-bit MinGW the
// <setjmp.h> setjmp hands the CRT the current frame, and longjmp then runs an
// SEH unwind (RtlUnwindEx) through libjpeg's frames, which is known to crash
// with STATUS_BAD_STACK or access violations, truncated JPEGs being the usual
// trigger. Given a null frame, the CRT's longjmp restores the registers
// directly, as longjmp does elsewhere. Nothing between the jump and its target
// needs unwinding: those frames are libjpeg's C code and our callbacks. 32-bit
// MinGW (_setjmp3, no unwind data on GCC's frames) and MSVC keep their setjmp.
#if defined(__MINGW32__) && defined(__x86_64__)
#define QUORVIN_SETJMP(buffer) _setjmp((buffer), nullptr)
#else
#define QUORVIN_SETJMP(buffer) setjmp(buffer)
#endif

namespace quorvin {
namespace {

// libjpeg's own working memory (a progressive picture keeps all its
// coefficients); beyond this it gives up instead of asking for more.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

// All the state the decode changes lives here, outside the function that calls
// setjmp, so that after the jump no local is left indeterminate and no
// destructor has been skipped.
struct JpegSession {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  std::jmp_buf failed{};
  std::vector<JSAMPLE> row;
  DecodedPicture picture;

  JpegSession() {
    info.err = jpeg_std_error(&errors);
    errors.error_exit = &Fail;
    errors.emit_message = &Notice;
    errors.output_message = [](j_common_ptr) {};  // the program reports nothing
    info.client_data = this;
  }
  // Safe on a half-created or never-created object: libjpeg checks what it allocated.
  ~JpegSession() { jpeg_destroy_decompress(&info); }
  JpegSession(const JpegSession&) = delete;
  JpegSession& operator=(const JpegSession&) = delete;

  [[noreturn]] static void Fail(j_common_ptr common) {
    std::longjmp(static_cast<JpegSession*>(common->client_data)->failed, 1);
  }

  // Level -1 is a warning, which libjpeg raises for damaged data it can go on
  // past, above all "premature end of data" on a truncated file, where it pads
  // the rest of the picture with grey. Such a picture is dropped, not drawn
  // half-grey, so a warning fails like an error. Higher levels are trace notes.
  static void Notice(j_common_ptr common, int level) {
    if (level < 0)
      Fail(common);
  }
};

void AppendBgrxRow(const JSAMPLE* rgb, int width, std::vector<std::uint8_t>& bgrx) {
  const std::size_t start = bgrx.size();
  bgrx.resize(start + static_cast<std::size_t>(width) * 4);
  std::uint8_t* out = bgrx.data() + start;
  for (int x = 0; x < width; ++x, rgb += 3, out += 4) {
    out[0] = rgb[2];
    out[1] = rgb[1];
    out[2] = rgb[0];
    out[3] = 0xFF;
  }
}

bool DecodeGuarded(JpegSession& session, std::span<const std::uint8_t> bytes) {
  jpeg_decompress_struct& info = session.info;
  if (QUORVIN_SETJMP(session.failed) != 0)
    return false;
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
    return false;
  if (!IsAcceptablePictureSize(info.image_width, info.image_height))
    return false;
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3)
    return false;
  const int width = static_cast<int>(info.output_width);
  const int height = static_cast<int>(info.output_height);
  session.row.resize(static_cast<std::size_t>(width) * 3);
  // Reserved, not filled: only rows actually decoded touch the memory.
  session.picture.bgrx.reserve(static_cast<std::size_t>(width) * height * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {session.row.data()};
    if (jpeg_read_scanlines(&info, rows, 1) != 1)
      return false;
    AppendBgrxRow(session.row.data(), width, session.picture.bgrx);
  }
  jpeg_finish_decompress(&info);
  session.picture.width = width;
  session.picture.height = height;
  return true;
}

}  // namespace

std::optional<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > ULONG_MAX)
    return std::nullopt;
  JpegSession session;
  if (!DecodeGuarded(session, bytes))
    return std::nullopt;
  return std::move(session.picture);
}

}  // namespace quorvin
