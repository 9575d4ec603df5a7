// libjpeg is opened when a device picture is first decoded, not when the program starts: the
// window shows no picture until a dialog asks for one. Each stand-in below calls its namesake in
// the library. Without the library a decoding ends through the caller's error handler, as a
// damaged picture does, and the caller shows no picture.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "files/lazylibrary.h"

namespace {

const LazyLibrary& Jpeg() {
    static const LazyLibrary library("libjpeg.so.62");
    return library;
}

// Ends the decoding the way libjpeg ends it on a damaged picture; the handler does not return.
[[noreturn]] void Fail(j_decompress_ptr info) {
    info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
    std::abort();
}

}  // namespace

#define REAL(name) static const auto real = Jpeg().Resolve(&::name, #name)

jpeg_error_mgr* jpeg_std_error(jpeg_error_mgr* errors) {
    REAL(jpeg_std_error);
    if (real) return real(errors);
    // The caller puts its own handlers in before anything can go wrong.
    std::memset(errors, 0, sizeof *errors);
    return errors;
}

void jpeg_CreateDecompress(j_decompress_ptr info, int version, size_t size) {
    REAL(jpeg_CreateDecompress);
    if (!real) Fail(info);
    real(info, version, size);
}

void jpeg_destroy_decompress(j_decompress_ptr info) {
    REAL(jpeg_destroy_decompress);
    if (real) real(info);
}

void jpeg_mem_src(j_decompress_ptr info, const unsigned char* data, unsigned long size) {
    REAL(jpeg_mem_src);
    if (!real) Fail(info);
    real(info, data, size);
}

int jpeg_read_header(j_decompress_ptr info, boolean image) {
    REAL(jpeg_read_header);
    if (!real) Fail(info);
    return real(info, image);
}

boolean jpeg_start_decompress(j_decompress_ptr info) {
    REAL(jpeg_start_decompress);
    if (!real) Fail(info);
    return real(info);
}

JDIMENSION jpeg_read_scanlines(j_decompress_ptr info, JSAMPARRAY rows, JDIMENSION count) {
    REAL(jpeg_read_scanlines);
    if (!real) Fail(info);
    return real(info, rows, count);
}

boolean jpeg_finish_decompress(j_decompress_ptr info) {
    REAL(jpeg_finish_decompress);
    if (!real) Fail(info);
    return real(info);
}
