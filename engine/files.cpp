// Files and binary streams over std::FILE: little-endian values, zeros past the end, and failures
// kept on the stream (reported by close_stream) instead of ending the program. Only regular files
// are opened: a named pipe or a device in place of a file would block or never end.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include "engine/engine.h"
#include "engine/engine_internal.h"

namespace fs = std::filesystem;

struct TStream {
    std::FILE* file = nullptr;
    bool failed = false;
    // C streams opened for update need a positioning call between a write and a read (and back).
    enum class Last { none, read, write } last = Last::none;
};

namespace {

// In the browser the files live in memory and the page copies them to its lasting storage: each
// closed stream, rename or removal tells it that something may have changed.
void note_storage_change() {
#ifdef __EMSCRIPTEN__
    EM_ASM({
        if (Module.noteWrite) Module.noteWrite();
    });
#endif
}

std::string native_path(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

// Opens without blocking (a named pipe with no writer would wait forever in open), then keeps
// the descriptor only if it is a regular file, or, for writing, anything but a pipe or socket
// (a device such as /dev/full takes writes and fails them, which callers handle).
int open_checked(const std::string& path, int flags, bool regular_only) {
    const int fd = ::open(native_path(path).c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat st;
    const bool ok =
        ::fstat(fd, &st) == 0 && (S_ISREG(st.st_mode) || (!regular_only && !S_ISFIFO(st.st_mode) &&
                                                          !S_ISSOCK(st.st_mode) && !S_ISDIR(st.st_mode)));
    if (!ok) {
        ::close(fd);
        return -1;
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl != -1) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    return fd;
}

TStream* open_with(const std::string& path, int flags, const char* mode, bool regular_only) {
    const int fd = open_checked(path, flags, regular_only);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, mode);
    if (!f) {
        ::close(fd);
        return nullptr;
    }
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
    if (fs::is_directory(st)) return 2;
    return fs::is_regular_file(st) ? 1 : 3;
}

std::string file_kind(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(native_path(game_file_path(path)), ec);
    if (ec || !fs::exists(st)) return "nothing";
    switch (st.type()) {
        case fs::file_type::regular:
            return "a file";
        case fs::file_type::directory:
            return "a folder";
        case fs::file_type::fifo:
            return "a named pipe";
        case fs::file_type::character:
        case fs::file_type::block:
            return "a device";
        case fs::file_type::socket:
            return "a socket";
        default:
            return "a special file";
    }
}

std::string file_problem(const std::string& path) {
    const int type = file_type(path);
    if (type == 1) return "";
    if (type == 0) return "not found";
    return "is " + file_kind(path) + ", not a file";
}

int64_t file_size(const std::string& path) {
    std::error_code ec;
    const fs::path p = native_path(game_file_path(path));
    if (!fs::is_regular_file(p, ec)) return -1;
    const uintmax_t size = fs::file_size(p, ec);
    return ec ? -1 : int64_t(size);
}

TStream* read_file(const std::string& path) { return open_with(game_file_path(path), O_RDONLY, "rb", true); }

TStream* write_file(const std::string& path) {
    // Never through a link: one in the way (the game makes none) is replaced by a file of the
    // game's own, and whatever it points to stays untouched.
    if (TStream* s = open_with(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, "wb", false)) return s;
    if (errno != ELOOP || ::unlink(native_path(path).c_str()) != 0) return nullptr;
    return open_with(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, "wb", false);
}

TStream* create_new_file(const std::string& path) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
    if (TStream* s = open_with(path, flags, "wb", true)) return s;
    std::error_code ec;
    if (errno != EEXIST || fs::is_directory(fs::symlink_status(native_path(path), ec)) ||
        ::unlink(native_path(path).c_str()) != 0)
        return nullptr;
    return open_with(path, flags, "wb", true);
}

bool write_file_safely(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temp = path + ".tmp";
    TStream* out = create_new_file(temp);
    if (!out) {
        engine_detail::set_last_error(temp + ": " + std::strerror(errno));
        return false;
    }
    errno = 0;
    write_bytes(out, bytes.data(), bytes.size());
    // On the device before the rename, so the name never points at a half-written file.
    const bool synced = sync_stream(out);
    const int why = errno;
    bool ok = close_stream(out) && synced;
    if (!ok) engine_detail::set_last_error(std::strerror(why ? why : errno ? errno : EIO));
    if (ok && !rename_file(temp, path)) {
        engine_detail::set_last_error(std::string("cannot replace ") + path + ": " + std::strerror(errno));
        ok = false;
    }
    // A half-written or unplaceable copy must not stay behind (a full disk, a folder in the way
    // of the rename).
    if (!ok) remove_file(temp);
    return ok;
}

TStream* open_stream(const std::string& path, int readable, int writeable) {
    // Opened for update: an existing file of the working directory, not emptied, and never
    // through a link.
    if (writeable) return open_with(path, O_RDWR | O_NOFOLLOW, "r+b", true);
    if (readable) return open_with(game_file_path(path), O_RDONLY, "rb", true);
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
    note_storage_change();
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

bool remove_file(const std::string& path) {
    std::error_code ec;
    const fs::path p = native_path(path);
    if (fs::is_directory(fs::symlink_status(p, ec))) return false;
    fs::remove(p, ec);
    note_storage_change();
    return !fs::exists(fs::symlink_status(p, ec));
}

bool rename_file(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(native_path(from), native_path(to), ec);
    note_storage_change();
    return !ec;
}

namespace engine_detail {

std::string read_regular_file(const std::string& path, size_t max_bytes, std::vector<uint8_t>& out) {
    out.clear();
    if (std::string problem = file_problem(path); !problem.empty()) return problem;
    const int fd = open_checked(game_file_path(path), O_RDONLY, true);
    if (fd < 0) return std::string("cannot be opened: ") + std::strerror(errno);
    std::string why;
    // Room for what the file holds (up to the limit); it still grows as data arrives, so a size
    // the system reports wrongly costs nothing.
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_size > 0) out.reserve(std::min(size_t(st.st_size), max_bytes));
    unsigned char buf[65536];
    while (out.size() < max_bytes) {
        const size_t want = std::min(sizeof buf, max_bytes - out.size());
        const ssize_t got = ::read(fd, buf, want);
        if (got < 0) {
            if (errno == EINTR) continue;
            why = std::string("cannot be read: ") + std::strerror(errno);
            break;
        }
        if (got == 0) break;
        out.insert(out.end(), buf, buf + got);
    }
    ::close(fd);
    if (!why.empty()) out.clear();
    return why;
}

}  // namespace engine_detail
