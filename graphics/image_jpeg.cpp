// JPEG reader over libjpeg. The library's default error handler ends the
// process; ours logs the message and jumps back so a corrupt file only fails
// its own load.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "core/hooks.h"
#include "graphics/image.h"

namespace kxgl {
namespace {

struct ErrorHook {
  jpeg_error_mgr base;  // first, so libjpeg's pointer is ours too
  std::jmp_buf recover;
};

void OutputMessage(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, text);
  kxcore::Log("JPEG ERROR=%s\n", text);
}

[[noreturn]] void ErrorExit(j_common_ptr info) {
  (*info->err->output_message)(info);
  std::longjmp(reinterpret_cast<ErrorHook*>(info->err)->recover, 1);
}

// Warnings (level -1) report damaged data that libjpeg would paper over
// (a truncated file decodes with grey rows). The picture is refused
// anyway, so the first one ends the reading at once: decoding the rest of
// a large damaged picture would only cost time. Trace messages are dropped.
void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) ErrorExit(info);
}

/*
 * Every 8x8 block of a scan takes at least one bit of the file (its DC
 * code), so a file can hold at most this many texels per byte. A picture
 * claiming more is damaged or hostile, and is refused before libjpeg sizes
 * any buffer for it. Real pictures, even of one flat colour, stay several
 * times below the bound.
 */
constexpr uint64_t kMostTexelsPerByte = 8 * 8 * 8;

/*
 * Each scan of a progressive file passes over every block it names again,
 * so a file of a few kilobytes with hundreds of tiny scans costs seconds.
 * Encoders write about ten (our writer one; the finest scan scripts a few
 * dozen), so more than this is refused as the scans arrive.
 *
 * The count is taken in the progress hook, which libjpeg calls before each
 * step of absorbing a multi-scan file in jpeg_start_decompress: the scan
 * number is known there before any of that scan is decoded, and the
 * ordinary decoding path stays as it is. Buffered-image mode would expose
 * the scans too, but costs a whole-picture coefficient buffer for baseline
 * files as well.
 */
constexpr int kMostScans = 100;

void CountScans(j_common_ptr info) {
  const int scans = reinterpret_cast<j_decompress_ptr>(info)->input_scan_number;
  if (scans <= kMostScans) return;
  kxcore::Log("JPEG ERROR=more than %d scans\n", kMostScans);
  std::longjmp(reinterpret_cast<ErrorHook*>(info->err)->recover, 1);
}

}  // namespace

int ReadJpeg(const uint8_t* data, size_t size, kximage* out) {
  if (!data || size < 2 || size > 0xFFFFFFFFu) return 0;
  jpeg_decompress_struct info;
  ErrorHook hook;
  info.err = jpeg_std_error(&hook.base);
  hook.base.error_exit = ErrorExit;
  hook.base.output_message = OutputMessage;
  hook.base.emit_message = EmitMessage;
  // Everything the jump may return to must live outside the protected part.
  kximage* volatile target = out;
  if (setjmp(hook.recover)) {
    jpeg_destroy_decompress(&info);
    target->pixels.clear();
    target->width = target->height = target->channels = 0;
    return 0;
  }
  jpeg_create_decompress(&info);
  jpeg_progress_mgr progress{};
  progress.progress_monitor = CountScans;
  info.progress = &progress;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
  const uint64_t texels = static_cast<uint64_t>(info.image_width) * info.image_height;
  const bool allowed = ImageSizeAllowed(info.image_width, info.image_height);
  if (!allowed || texels > size * kMostTexelsPerByte) {
    if (allowed)
      kxcore::Log("JPEG ERROR=%ux%u cannot be held by %zu bytes\n", info.image_width, info.image_height, size);
    else
      kxcore::Log("JPEG ERROR=%ux%u too large\n", info.image_width, info.image_height);
    jpeg_destroy_decompress(&info);
    return 0;
  }
  jpeg_start_decompress(&info);
  int width = static_cast<int>(info.output_width);
  int height = static_cast<int>(info.output_height);
  int components = info.output_components;
  target->width = width;
  target->height = height;
  target->channels = 3;
  target->flags = 0;
  target->pixels.assign(static_cast<size_t>(width) * height * 3, 0);
  // The scanline comes from libjpeg's own pool: a local container would be
  // skipped, not destroyed, by the jump out of a failing read.
  JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              static_cast<JDIMENSION>(width * components), 1);
  const JSAMPLE* line = rows[0];
  while (info.output_scanline < info.output_height) {
    int row = static_cast<int>(info.output_scanline);
    jpeg_read_scanlines(&info, rows, 1);
    uint8_t* dst = target->pixels.data() + static_cast<size_t>(row) * width * 3;
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) dst[x * 3 + c] = line[static_cast<size_t>(x) * components + (components == 1 ? 0 : c)];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return 1;
}

}  // namespace kxgl
