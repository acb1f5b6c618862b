#include <QCoreApplication>

int runIntegerTextTests(int argc, char** argv);
int runRecordOrderTests(int argc, char** argv);
int runRecordFileTests(int argc, char** argv);
int runDataFolderTests(int argc, char** argv);
int runSettingsFileTests(int argc, char** argv);
int runArchiveSettingsTests(int argc, char** argv);
int runRecordListTests(int argc, char** argv);
int runRecordImportTests(int argc, char** argv);
int runEnteredNumbersTests(int argc, char** argv);
int runTextCodecTests(int argc, char** argv);
int runGb18030Tests(int argc, char** argv);
int runWholeFileTests(int argc, char** argv);
int runWindowStateTests(int argc, char** argv);

// The storage module's test classes in one program; it fails when any of them fails.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    failures += runIntegerTextTests(argc, argv);
    failures += runRecordOrderTests(argc, argv);
    failures += runRecordFileTests(argc, argv);
    failures += runDataFolderTests(argc, argv);
    failures += runSettingsFileTests(argc, argv);
    failures += runArchiveSettingsTests(argc, argv);
    failures += runRecordListTests(argc, argv);
    failures += runRecordImportTests(argc, argv);
    failures += runEnteredNumbersTests(argc, argv);
    failures += runTextCodecTests(argc, argv);
    failures += runGb18030Tests(argc, argv);
    failures += runWholeFileTests(argc, argv);
    failures += runWindowStateTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
