// The recording's byte stream: header, event codes, the writer's idle runs and the reader.
//
// Header: "QVARREC" 0x1A, format (u16), kind (u8), program version (u8 length, text), data
// hash (u64), start state (varint length, bytes). Integers little-endian; varints 7 bits a
// byte, low first. Events: one code byte, then its fields (see the codes below).
#include "platform/recording.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "util/files.h"
#include "util/message_text.h"

namespace qvar {

namespace {

constexpr uint8_t MAGIC[8] = {'Q', 'V', 'A', 'R', 'R', 'E', 'C', 0x1A};

// Event codes. A key read is 0x10 | value << 3 | key.
constexpr uint8_t OP_NONE = 0x01;       // a pump found nothing waiting
constexpr uint8_t OP_MESSAGE = 0x02;    // kind, then its fields
constexpr uint8_t OP_DELAY_END = 0x03;  // a frame's delay ran out (its messages came before)
constexpr uint8_t OP_TIME = 0x04;       // varint: the clock the game read, in ms
constexpr uint8_t OP_FILE_READ = 0x05;  // varint length, bytes
constexpr uint8_t OP_FILE_SAVE = 0x06;  // ok (u8), varint length, reason
constexpr uint8_t OP_IDLE_RUN = 0x07;   // u16: that many (nothing waiting, delay ran out)
constexpr uint8_t OP_END = 0x08;
constexpr uint8_t OP_KEY = 0x10;
constexpr uint32_t MAX_IDLE_RUN = 0xFFFF;

void put_varint(std::vector<uint8_t>& out, uint64_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<uint8_t>((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<uint8_t>(v));
}

bool get_varint(const std::vector<uint8_t>& in, size_t& pos, uint64_t& v) {
    v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (pos >= in.size()) return false;
        const uint8_t b = in[pos++];
        v |= static_cast<uint64_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0) return true;
    }
    return false;
}

// Runs out (pos at the end) when the bytes are not all there.
bool get_bytes(const std::vector<uint8_t>& in, size_t& pos, size_t count, std::vector<uint8_t>& out) {
    if (count > in.size() - pos) {
        pos = in.size();
        return false;
    }
    out.assign(in.begin() + static_cast<std::ptrdiff_t>(pos), in.begin() + static_cast<std::ptrdiff_t>(pos + count));
    pos += count;
    return true;
}

uint64_t zigzag(int32_t v) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(v)) << 1) ^ (v < 0 ? 0xFFFFFFFFFFFFFFFFull : 0);
}

int32_t unzigzag(uint64_t v) {
    const uint32_t half = static_cast<uint32_t>(v >> 1);
    return static_cast<int32_t>((v & 1) != 0 ? ~half : half);
}

void put_message(std::vector<uint8_t>& out, const Message& m) {
    out.push_back(static_cast<uint8_t>(m.kind));
    switch (m.kind) {
        case MessageKind::Character: out.push_back(m.character); break;
        case MessageKind::Timer: put_varint(out, zigzag(m.timer_id)); break;
        case MessageKind::MouseMove:
            put_varint(out, m.x);
            put_varint(out, m.y);
            break;
        case MessageKind::MouseButton:
        case MessageKind::DoubleClick: put_varint(out, m.button_flags); break;
        case MessageKind::Quit:
        case MessageKind::Other: break;
    }
}

bool get_message(const std::vector<uint8_t>& in, size_t& pos, Message& m) {
    if (pos >= in.size() || in[pos] > static_cast<uint8_t>(MessageKind::Other)) return false;
    m = Message{};
    m.kind = static_cast<MessageKind>(in[pos++]);
    uint64_t a = 0, b = 0;
    switch (m.kind) {
        case MessageKind::Character:
            if (pos >= in.size()) return false;
            m.character = in[pos++];
            return true;
        case MessageKind::Timer:
            if (!get_varint(in, pos, a) || a > 0xFFFFFFFFu) return false;
            m.timer_id = unzigzag(a);
            return true;
        case MessageKind::MouseMove:
            if (!get_varint(in, pos, a) || !get_varint(in, pos, b) || a > 0xFFFF || b > 0xFFFF) return false;
            m.x = static_cast<uint16_t>(a);
            m.y = static_cast<uint16_t>(b);
            return true;
        case MessageKind::MouseButton:
        case MessageKind::DoubleClick:
            if (!get_varint(in, pos, a) || a > 0xFFFFFFFFu) return false;
            m.button_flags = static_cast<uint32_t>(a);
            return true;
        case MessageKind::Quit:
        case MessageKind::Other: return true;
    }
    return false;
}

std::vector<uint8_t> header_bytes(const RecordingHeader& h) {
    std::vector<uint8_t> out(MAGIC, MAGIC + sizeof MAGIC);
    out.push_back(static_cast<uint8_t>(RECORDING_FORMAT & 0xFF));
    out.push_back(static_cast<uint8_t>(RECORDING_FORMAT >> 8));
    out.push_back(static_cast<uint8_t>(h.kind));
    const size_t n = std::min<size_t>(h.program_version.size(), 255);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), h.program_version.begin(), h.program_version.begin() + static_cast<std::ptrdiff_t>(n));
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(h.data_hash >> (8 * i)));
    put_varint(out, h.start_state.size());
    out.insert(out.end(), h.start_state.begin(), h.start_state.end());
    return out;
}

// Parses the header; `error` names what is wrong in words a player understands.
bool parse_header(const std::vector<uint8_t>& in, size_t& pos, RecordingHeader& h, std::string& error) {
    if (in.size() < sizeof MAGIC || std::memcmp(in.data(), MAGIC, sizeof MAGIC) != 0) {
        error = "not a qvar recording";
        return false;
    }
    pos = sizeof MAGIC;
    error = "the recording's header is damaged";
    if (in.size() - pos < 4) return false;
    const uint16_t format = static_cast<uint16_t>(in[pos] | in[pos + 1] << 8);
    if (format != RECORDING_FORMAT) {
        error = "recording format " + std::to_string(format) + ", this qvar plays format " +
                std::to_string(RECORDING_FORMAT);
        return false;
    }
    if (in[pos + 2] > static_cast<uint8_t>(RecordingKind::Game)) return false;
    h.kind = static_cast<RecordingKind>(in[pos + 2]);
    const size_t vlen = in[pos + 3];
    pos += 4;
    if (in.size() - pos < vlen + 8) return false;
    h.program_version.assign(in.begin() + static_cast<std::ptrdiff_t>(pos),
                             in.begin() + static_cast<std::ptrdiff_t>(pos + vlen));
    pos += vlen;
    h.data_hash = 0;
    for (int i = 0; i < 8; ++i) h.data_hash |= static_cast<uint64_t>(in[pos + static_cast<size_t>(i)]) << (8 * i);
    pos += 8;
    uint64_t start_size = 0;
    if (!get_varint(in, pos, start_size) || start_size > RECORDING_MAX_START) return false;
    if (!get_bytes(in, pos, static_cast<size_t>(start_size), h.start_state)) return false;
    error.clear();
    return true;
}

}  // namespace

uint64_t fnv1a(uint64_t hash, const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

// --- writer ---

RecordWriter::~RecordWriter() { close(); }

bool RecordWriter::open(const std::string& path, const RecordingHeader& header, std::string& error) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error = "cannot write the recording to " + printable(path) + ": " + error_words(errno);
        return false;
    }
    path_ = path;
    buf_ = header_bytes(header);
    written_ = 0;
    flush();
    return fd_ >= 0;
}

bool RecordWriter::write_at(const uint8_t* data, size_t size, uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd_, data, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            std::fprintf(stderr, "qvar: cannot write the recording to %s: %s; the game goes on without it\n",
                         printable(path_).c_str(), error_words(n < 0 ? errno : ENOSPC).c_str());
            ::close(fd_);
            fd_ = -1;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return true;
}

void RecordWriter::close_idle_run() {
    if (idle_run_ == 0) return;
    put(OP_IDLE_RUN);
    put(static_cast<uint8_t>(idle_run_ & 0xFF));
    put(static_cast<uint8_t>(idle_run_ >> 8));
    idle_run_ = 0;
}

void RecordWriter::settle_pending() {
    close_idle_run();
    if (pending_none_) put(OP_NONE);
    pending_none_ = false;
}

void RecordWriter::pumped_nothing() {
    if (pending_none_) {
        close_idle_run();
        put(OP_NONE);
    }
    pending_none_ = true;
}

void RecordWriter::pumped(const Message& m) {
    settle_pending();
    put(OP_MESSAGE);
    put_message(buf_, m);
}

void RecordWriter::key_read(GameKey key, bool down) {
    const size_t k = static_cast<size_t>(key);
    if (keys_[k] == down) return;
    keys_[k] = down;
    settle_pending();
    put(static_cast<uint8_t>(OP_KEY | (down ? 8 : 0) | k));
}

void RecordWriter::delay_ended() {
    if (!pending_none_) {
        settle_pending();
        put(OP_DELAY_END);
        return;
    }
    pending_none_ = false;
    if (++idle_run_ == MAX_IDLE_RUN) close_idle_run();
}

void RecordWriter::time_read(uint64_t ms) {
    settle_pending();
    put(OP_TIME);
    put_varint(buf_, ms);
}

void RecordWriter::file_read(const std::vector<uint8_t>& bytes) {
    settle_pending();
    put(OP_FILE_READ);
    put_varint(buf_, bytes.size());
    buf_.insert(buf_.end(), bytes.begin(), bytes.end());
}

void RecordWriter::file_saved(bool ok, const std::string& reason) {
    settle_pending();
    put(OP_FILE_SAVE);
    put(ok ? 1 : 0);
    put_varint(buf_, reason.size());
    buf_.insert(buf_.end(), reason.begin(), reason.end());
}

void RecordWriter::flush() {
    if (fd_ < 0) return;
    if (!buf_.empty()) {
        if (!write_at(buf_.data(), buf_.size(), written_)) return;
        written_ += buf_.size();
        buf_.clear();
    }
    if (idle_run_ == 0) return;
    // The open run, provisionally: the next write starts at the same place and replaces it.
    const uint8_t run[3] = {OP_IDLE_RUN, static_cast<uint8_t>(idle_run_ & 0xFF), static_cast<uint8_t>(idle_run_ >> 8)};
    write_at(run, sizeof run, written_);
}

void RecordWriter::close() {
    if (fd_ < 0) return;
    settle_pending();
    put(OP_END);
    flush();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

// --- reader ---

bool RecordReader::load(const std::string& path, std::string& error) {
    FileRead read = read_file(path, RECORDING_MAX_BYTES, Oversize::Refuse);
    if (!read.ok()) {
        error = printable(path) + ": cannot read the recording (" + read.reason + ")";
        return false;
    }
    if (!parse(std::move(read.bytes), error)) {
        error = printable(path) + ": " + error;
        return false;
    }
    path_ = path;
    return true;
}

bool RecordReader::parse(std::vector<uint8_t> bytes, std::string& error) {
    *this = RecordReader{};
    bytes_ = std::move(bytes);
    return parse_header(bytes_, pos_, header_, error);
}

// Decodes the event at `pos`, an idle run as None with its count in time_ms.
bool RecordReader::decode(RecordEvent& e, size_t& pos) const {
    if (pos >= bytes_.size()) {
        e.op = RecordOp::End;
        return true;
    }
    const uint8_t code = bytes_[pos++];
    uint64_t n = 0;
    e.op = RecordOp::Broken;
    if ((code & 0xF0) == OP_KEY) {
        e.op = RecordOp::Key;
        e.key = code & 7;
        e.key_down = (code & 8) != 0;
        return true;
    }
    switch (code) {
        case OP_NONE: e.op = RecordOp::None; return true;
        case OP_DELAY_END: e.op = RecordOp::DelayEnd; return true;
        case OP_END: e.op = RecordOp::End; return true;
        case OP_MESSAGE: e.op = RecordOp::Message; return get_message(bytes_, pos, e.message);
        case OP_TIME: e.op = RecordOp::Time; return get_varint(bytes_, pos, e.time_ms);
        case OP_FILE_READ:
            e.op = RecordOp::FileRead;
            return get_varint(bytes_, pos, n) && get_bytes(bytes_, pos, static_cast<size_t>(std::min<uint64_t>(n, SIZE_MAX)), e.bytes);
        case OP_FILE_SAVE:
            if (pos >= bytes_.size()) return false;
            e.op = RecordOp::FileSave;
            e.save_ok = bytes_[pos++] != 0;
            return get_varint(bytes_, pos, n) && get_bytes(bytes_, pos, static_cast<size_t>(std::min<uint64_t>(n, SIZE_MAX)), e.bytes);
        case OP_IDLE_RUN:
            if (bytes_.size() - pos < 2) {
                pos = bytes_.size();
                return false;
            }
            e.op = RecordOp::None;
            e.time_ms = static_cast<uint64_t>(bytes_[pos] | bytes_[pos + 1] << 8);
            pos += 2;
            return e.time_ms > 0;
        default: e.op = RecordOp::Broken; return false;
    }
}

RecordOp RecordReader::peek() {
    if (broken_) return RecordOp::Broken;
    if (finished_) return RecordOp::End;
    if (run_left_ > 0) return run_in_delay_ ? RecordOp::DelayEnd : RecordOp::None;
    RecordEvent e;
    size_t pos = pos_;
    if (decode(e, pos)) return e.op;
    return e.op == RecordOp::Broken || pos < bytes_.size() ? RecordOp::Broken : RecordOp::End;
}

RecordEvent RecordReader::next() {
    RecordEvent e;
    if (broken_ || finished_) {
        e.op = broken_ ? RecordOp::Broken : RecordOp::End;
        return e;
    }
    if (run_left_ > 0) {
        e.op = run_in_delay_ ? RecordOp::DelayEnd : RecordOp::None;
        if (run_in_delay_) --run_left_;
        run_in_delay_ = !run_in_delay_;
        return e;
    }
    const bool at_end = pos_ >= bytes_.size();
    if (!decode(e, pos_)) {
        // An event whose bytes run past the end was cut off with the file: that is its end.
        broken_ = e.op == RecordOp::Broken || pos_ < bytes_.size();
        e.op = broken_ ? RecordOp::Broken : RecordOp::End;
        return e;
    }
    if (e.op == RecordOp::End) {
        finished_ = !at_end;  // the end mark, rather than the file's end
        return e;
    }
    if (e.op == RecordOp::None && e.time_ms > 0) {  // an idle run: its first pump now
        run_left_ = static_cast<uint32_t>(e.time_ms);
        run_in_delay_ = true;
        e.time_ms = 0;
    }
    if (e.op == RecordOp::Key) keys_[e.key] = e.key_down;
    return e;
}

bool RecordReader::complete() const {
    return finished_ || (!broken_ && run_left_ == 0 && pos_ < bytes_.size() && bytes_[pos_] == OP_END);
}

bool RecordReader::key(GameKey key) {
    const size_t k = static_cast<size_t>(key);
    if (run_left_ == 0 && !broken_ && !finished_ && pos_ < bytes_.size() && bytes_[pos_] == (OP_KEY | (bytes_[pos_] & 8) | k))
        next();
    return keys_[k];
}

}  // namespace qvar
