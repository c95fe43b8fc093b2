// Files and binary streams over std::FILE: little-endian values, zeros past the end, and failures
// kept on the stream (reported by close_stream) instead of ending the program.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/engine.h"

namespace fs = std::filesystem;

struct TStream {
    std::FILE* file = nullptr;
    bool failed = false;
    // C streams opened for update need a positioning call between a write and a read (and back).
    enum class Last { none, read, write } last = Last::none;
};

namespace {

std::string native_path(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

TStream* open_with(const std::string& path, const char* mode) {
    std::FILE* f = std::fopen(native_path(path).c_str(), mode);
    if (!f) return nullptr;
    TStream* s = new TStream();
    s->file = f;
    return s;
}

void switch_to(TStream* s, TStream::Last op) {
    if (s->last != TStream::Last::none && s->last != op && std::fseek(s->file, 0, SEEK_CUR) != 0)
        s->failed = true;
    s->last = op;
}

// Reads up to n bytes; what lies past the end stays 0. A refused read marks the stream.
void read_bytes(TStream* s, unsigned char* out, size_t n) {
    switch_to(s, TStream::Last::read);
    const size_t got = std::fread(out, 1, n, s->file);
    for (size_t i = got; i < n; ++i) out[i] = 0;
    if (got < n && std::ferror(s->file)) {
        s->failed = true;
        std::clearerr(s->file);
    }
}

void write_bytes(TStream* s, const unsigned char* data, size_t n) {
    switch_to(s, TStream::Last::write);
    if (n > 0 && std::fwrite(data, 1, n, s->file) != n) {
        s->failed = true;
        std::clearerr(s->file);
    }
}

}  // namespace

int file_type(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(native_path(game_file_path(path)), ec);
    if (ec || !fs::exists(st)) return 0;
    return fs::is_directory(st) ? 2 : 1;
}

int64_t file_size(const std::string& path) {
    std::error_code ec;
    const fs::path p = native_path(game_file_path(path));
    if (!fs::is_regular_file(p, ec)) return -1;
    const uintmax_t size = fs::file_size(p, ec);
    return ec ? -1 : int64_t(size);
}

TStream* read_file(const std::string& path) {
    if (file_type(path) != 1) return nullptr;
    return open_with(game_file_path(path), "rb");
}

TStream* write_file(const std::string& path) { return open_with(path, "wb"); }

TStream* open_stream(const std::string& path, int readable, int writeable) {
    if (writeable) {
        // An existing file of the working directory, not emptied.
        std::error_code ec;
        if (!fs::is_regular_file(native_path(path), ec)) return nullptr;
        return open_with(path, "r+b");
    }
    if (file_type(path) != 1) return nullptr;
    if (readable) return open_with(game_file_path(path), "rb");
    return nullptr;
}

void seek_stream(TStream* stream, int64_t position) {
    if (!stream) return;
    if (position < 0 || fseeko(stream->file, off_t(position), SEEK_SET) != 0) stream->failed = true;
    stream->last = TStream::Last::none;
}

bool close_stream(TStream* stream) {
    if (!stream) return false;
    bool ok = !stream->failed;
    if (std::fflush(stream->file) != 0) ok = false;
    if (std::fclose(stream->file) != 0) ok = false;
    delete stream;
    return ok;
}

bool sync_stream(TStream* stream) {
    if (!stream) return false;
    if (std::fflush(stream->file) != 0) {
        stream->failed = true;
        return false;
    }
    // Special files (devices, pipes) cannot be synced; that is no loss of data.
    if (::fsync(::fileno(stream->file)) != 0 && errno != EINVAL && errno != EROFS) {
        stream->failed = true;
        return false;
    }
    return true;
}

bool stream_failed(TStream* stream) { return stream && stream->failed; }

int read_byte(TStream* stream) {
    if (!stream) return 0;
    unsigned char b = 0;
    read_bytes(stream, &b, 1);
    return b;
}

int read_int(TStream* stream) {
    if (!stream) return 0;
    unsigned char b[4];
    read_bytes(stream, b, 4);
    return int(int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24));
}

std::string read_string(TStream* stream, int n) {
    if (!stream || n <= 0) return std::string();
    std::string text(size_t(n), '\0');
    read_bytes(stream, reinterpret_cast<unsigned char*>(text.data()), size_t(n));
    return text;
}

void write_byte(TStream* stream, int value) {
    if (!stream) return;
    const unsigned char b = static_cast<unsigned char>(value & 255);
    write_bytes(stream, &b, 1);
}

void write_int(TStream* stream, int value) {
    if (!stream) return;
    const uint32_t v = uint32_t(value);
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    write_bytes(stream, b, 4);
}

void write_string(TStream* stream, const std::string& text) {
    if (!stream) return;
    write_bytes(stream, reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

bool make_folder(const std::string& path) {
    std::error_code ec;
    const fs::path p = native_path(path);
    fs::create_directories(p, ec);
    return fs::is_directory(p, ec);
}

bool rename_file(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(native_path(from), native_path(to), ec);
    return !ec;
}
