// Not a test: the process that the failure-injection test kills in the middle of a save. It saves
// one file over and over through the program's own storage code, the two payloads in turn, until
// it is killed.
//   save_loop record <path>                  a record file
//   save_loop settings <path> <section> <key> one key of a settings file
#include "save_payload.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "storage/settings_file.h"

#include <cstdio>
#include <cstring>

using namespace dravik;

int main(int argc, char** argv) {
    const bool record = argc == 3 && std::strcmp(argv[1], "record") == 0;
    const bool settings = argc == 5 && std::strcmp(argv[1], "settings") == 0;
    if (!record && !settings) {
        std::fprintf(stderr, "usage: save_loop record <path> | settings <path> <section> <key>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    try {
        if (record) {
            const QStringList lines[] = {test::payload::recordLines(0), test::payload::recordLines(1)};
            for (int i = 0;; i = 1 - i)
                writeRecordFile(path, lines[i], TextEncoding::Utf8);
        }
        const QString section = QString::fromLocal8Bit(argv[3]);
        const QString key = QString::fromLocal8Bit(argv[4]);
        const QString values[] = {test::payload::settingsValue(0), test::payload::settingsValue(1)};
        SettingsFile file(path);
        for (int i = 0;; i = 1 - i)
            file.writeText(section, key, values[i]);
    } catch (const Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
