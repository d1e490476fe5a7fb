#include "report/run/compress.h"

#include "report/run/rep_error.h"

namespace rep {

namespace {

constexpr int kRoot = 0;
constexpr int kLeaves = 256;  // node of byte value s is s + kLeaves
constexpr std::size_t kPendingLimit = 4096;

}  // namespace

TRepCompress::TRepCompress(ByteStream& stream, Mode mode)
    : stream_(stream), mode_(mode), bitPos_(mode == Mode::Expand ? 7 : 0) {
    up_[0] = 0;
    for (int i = 1; i <= 512; ++i)
        up_[i] = static_cast<std::uint8_t>((i - 1) / 2);
    for (int i = 0; i <= 255; ++i) {
        left_[i] = static_cast<std::uint16_t>(2 * i + 1);
        right_[i] = static_cast<std::uint16_t>(2 * i + 2);
    }
    if (mode_ == Mode::Compress)
        pending_.reserve(kPendingLimit);
}

TRepCompress::~TRepCompress() {
    if (mode_ != Mode::Compress || finished_)
        return;
    try {
        Finish();
    } catch (...) {
        // Only reached while another failure unwinds past an unfinished page.
    }
}

void TRepCompress::Splay(int symbol) {
    int x = symbol + kLeaves;
    for (;;) {
        const int p = up_[x];
        if (p == kRoot)
            return;
        const int g = up_[p];
        int w;
        if (left_[g] == p) {
            w = right_[g];
            right_[g] = static_cast<std::uint16_t>(x);
        } else {
            w = left_[g];
            left_[g] = static_cast<std::uint16_t>(x);
        }
        if (left_[p] == x)
            left_[p] = static_cast<std::uint16_t>(w);
        else
            right_[p] = static_cast<std::uint16_t>(w);
        up_[x] = static_cast<std::uint8_t>(g);
        up_[w] = static_cast<std::uint8_t>(p);
        x = g;
        if (x == kRoot)
            return;
    }
}

void TRepCompress::Emit(bool bit) {
    if (bit)
        byte_ = static_cast<std::uint8_t>(byte_ | (1u << bitPos_));
    if (bitPos_ == 7) {
        pending_.push_back(byte_);
        if (pending_.size() >= kPendingLimit)
            FlushOutput();
        bitPos_ = 0;
        byte_ = 0;
    } else {
        ++bitPos_;
    }
}

void TRepCompress::FlushOutput() {
    if (pending_.empty())
        return;
    stream_.Write(pending_.data(), pending_.size());
    pending_.clear();
}

void TRepCompress::Compress(std::uint8_t symbol) {
    if (mode_ != Mode::Compress || finished_)
        throw ERepError("Compressor is not open for writing");
    // A leaf sits at most 256 levels deep (the tree has 256 internal nodes).
    bool path[257];
    int depth = 0;
    for (int node = symbol + kLeaves; node != kRoot; node = up_[node])
        path[depth++] = right_[up_[node]] == node;
    while (depth > 0)
        Emit(path[--depth]);
    Splay(symbol);
}

void TRepCompress::Compress(std::span<const std::uint8_t> symbols) {
    for (std::uint8_t s : symbols)
        Compress(s);
}

void TRepCompress::Finish() {
    if (mode_ != Mode::Compress || finished_)
        return;
    if (bitPos_ != 0) {
        pending_.push_back(byte_);
        bitPos_ = 0;
        byte_ = 0;
    }
    finished_ = true;
    FlushOutput();
}

std::uint8_t TRepCompress::Expand() {
    if (mode_ != Mode::Expand)
        throw ERepError("Compressor is not open for reading");
    int node = kRoot;
    do {
        if (bitPos_ == 7) {
            stream_.Read(&byte_, 1);
            bitPos_ = 0;
        } else {
            ++bitPos_;
        }
        node = (byte_ >> bitPos_) & 1 ? right_[node] : left_[node];
    } while (node < kLeaves);
    // Node 512 hangs in the tree but no byte codes to it: only damaged input gets there.
    if (node > kLeaves + 255)
        throw ERepError("Compressed data are damaged");
    const int symbol = node - kLeaves;
    Splay(symbol);
    return static_cast<std::uint8_t>(symbol);
}

void TRepCompress::Expand(std::span<std::uint8_t> out) {
    for (std::uint8_t& b : out)
        b = Expand();
}

}  // namespace rep
