#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that must hold for every input. Unlike assert it stays on in release builds, and the
// abort is what both libFuzzer and the corpus replay report as a failure.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace dravik::fuzz {

// Takes structured values off the front of a fuzz input. Running out is not an error: every take
// then gives zero or empty, so each input means something and the fuzzer never wastes a run.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    uint16_t word() {
        const uint16_t high = byte();
        return uint16_t(high << 8 | byte());
    }

    uint32_t quad() {
        const uint32_t high = word();
        return high << 16 | word();
    }

    QByteArray bytes(size_t count) {
        const size_t n = count < size_ - at_ ? count : size_ - at_;
        QByteArray result(reinterpret_cast<const char*>(data_ + at_), qsizetype(n));
        at_ += n;
        return result;
    }

    QByteArray rest() { return bytes(size_ - at_); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Strict UTF-8 as the standard defines it: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short. Written apart from Qt so that it can judge Qt's decoder.
inline bool isValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned c = p[i];
        int trail = 0;
        uint32_t cp = 0;
        uint32_t least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            trail = 1, cp = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            trail = 2, cp = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            trail = 3, cp = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + trail >= n)
            return false;
        for (int k = 1; k <= trail; ++k) {
            const unsigned t = p[i + k];
            if ((t & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (t & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += trail + 1;
    }
    return true;
}

} // namespace dravik::fuzz
