// Writes gb18030_linux.txt, the GB18030 fixture: every code with the character that the Linux build
// (Qt over ICU) reads from it, having checked that the character writes back as the same code. The
// test of each build compares its own conversion with it. Built on Linux only, and not by default;
// to write the fixture anew:
//   cmake --build build --target write_gb18030_fixture
//   build/tests/storage/write_gb18030_fixture > tests/storage/gb18030/gb18030_linux.txt
#include "storage/text_codec.h"

#include <QList>
#include <QTextStream>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
// Only to name the ICU that Qt uses (libicu-dev), where its headers are installed.
#if __has_include(<unicode/uvernum.h>)
#include <unicode/uvernum.h>
#define DRAVIK_ICU "ICU " U_ICU_VERSION
#else
#define DRAVIK_ICU "ICU"
#endif

using namespace dravik;

namespace {

// The character of a code, when it has one that writes back as the same code.
std::optional<char32_t> characterOf(const QByteArray& code) {
    const std::optional<QString> text = decodeStrictly(code, "GB18030");
    if (!text)
        return std::nullopt;
    const QList<uint> characters = text->toUcs4();
    if (characters.size() != 1 || encodeInCharset(*text, "GB18030") != code) {
        std::fprintf(stderr, "%s reads as %s, which does not write back as it\n", code.toHex().constData(),
                     qPrintable(*text));
        std::exit(1);
    }
    return char32_t(characters.first());
}

QByteArray fourByteCode(std::uint32_t number) {
    QByteArray code(4, '\0');
    code[3] = char(0x30 + number % 10);
    number /= 10;
    code[2] = char(0x81 + number % 126);
    number /= 126;
    code[1] = char(0x30 + number % 10);
    code[0] = char(0x81 + number / 10);
    return code;
}

} // namespace

int main() {
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (int c = 0; c < 0x80; ++c) {
        if (decodeStrictly(QByteArray(1, char(c)), "GB18030") != QString(QChar(c))) {
            std::fprintf(stderr, "%02X is not ASCII\n", c);
            return 1;
        }
    }
    out << "# GB18030 as the Linux build reads and writes it: Qt " << qVersion() << " over " DRAVIK_ICU ".\n"
        << "# Written by write_gb18030_fixture.cpp, which says how to write it anew.\n"
        << "# Two-byte codes: a lead byte, then the characters of its trail bytes 40..7E and 80..FE.\n";
    qsizetype count = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        QString line = QString::asprintf("%02X ", lead);
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const QByteArray code = QByteArray(1, char(lead)) + char(trail);
            const std::optional<char32_t> character = characterOf(code);
            if (!character || *character < 0x80 || *character > 0xFFFF) {
                std::fprintf(stderr, "%s has no character of the BMP\n", code.toHex().constData());
                return 1;
            }
            line += QChar(char16_t(*character));
            ++count;
        }
        out << line << '\n';
    }
    out << "# Four-byte codes: runs of codes whose characters follow one another, each as its first\n"
        << "# code, its last code and the character of the first. Codes outside the runs are invalid.\n";
    struct Run {
        std::uint32_t first, last;
        char32_t character;
    };
    std::optional<Run> run;
    const auto endRun = [&] {
        if (run) {
            out << fourByteCode(run->first).toHex().toUpper() << ' '
                << fourByteCode(run->last).toHex().toUpper() << ' '
                << QString::asprintf("%04X", uint(run->character)) << '\n';
        }
        run.reset();
    };
    for (std::uint32_t number = 0; number < 126u * 10 * 126 * 10; ++number) {
        const std::optional<char32_t> character = characterOf(fourByteCode(number));
        if (character && run && number == run->last + 1 &&
            *character == run->character + (number - run->first)) {
            run->last = number;
        } else {
            endRun();
            if (character)
                run = Run{number, number, *character};
        }
        count += character ? 1 : 0;
    }
    endRun();
    // ASCII, and every other character but the surrogates, once.
    if (128 + count != 0x110000 - 0x800) {
        std::fprintf(stderr, "%lld codes in all\n", static_cast<long long>(count));
        return 1;
    }
    return 0;
}
