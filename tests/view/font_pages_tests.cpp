// The font files' pages let go: which mappings count as font files, and that a mapping let go
// leaves the process but still reads the file's bytes.

#include <QtTest>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "view/qt/font_pages.h"
#include "view/view_tests.h"

using namespace tsukikage;

namespace {

// The resident kilobytes of the mapping that starts at `start`, from /proc/self/smaps.
long ResidentKb(const void* start) {
    std::ifstream smaps("/proc/self/smaps");
    const std::string prefix = QString::number(reinterpret_cast<quintptr>(start), 16)
                                   .rightJustified(8, '0')
                                   .toStdString() +
                               "-";
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        if (line.rfind(prefix, 0) == 0) inside = true;
        if (inside && line.rfind("Rss:", 0) == 0) return std::stol(line.substr(4));
    }
    return -1;
}

}  // namespace

class FontPagesTests : public QObject {
    Q_OBJECT

  private slots:
    void ParsesOnlyReadOnlyPrivateFontFiles_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("font");
        QTest::addColumn<qulonglong>("start");
        QTest::addColumn<qulonglong>("end");
        const auto row = [](const char* name, const char* line, bool font, qulonglong start = 0,
                            qulonglong end = 0) {
            QTest::newRow(name) << QString::fromUtf8(line) << font << start << end;
        };
        row("ttf", "7f2882400000-7f28829f3000 r--p 00000000 fe:00 1064994    /usr/share/ipagp.ttf",
            true, 0x7f2882400000, 0x7f28829f3000);
        row("upper case", "1000-2000 r--p 00000000 fe:00 1 /fonts/NOTO.TTC", true, 0x1000, 0x2000);
        row("otf", "1000-2000 r--p 00000000 fe:00 1 /fonts/a.otf", true, 0x1000, 0x2000);
        row("name with spaces", "1000-2000 r--p 0 fe:00 1 /My Fonts/a b.ttf", true, 0x1000, 0x2000);
        row("writable", "1000-2000 rw-p 00000000 fe:00 1 /fonts/a.ttf", false);
        row("shared", "1000-2000 r--s 00000000 fe:00 1 /fonts/a.ttf", false);
        row("executable", "1000-2000 r-xp 00000000 fe:00 1 /fonts/a.ttf", false);
        row("not a font", "1000-2000 r--p 00000000 fe:00 1 /usr/lib/libQt6Gui.so.6", false);
        row("font in a folder name", "1000-2000 r--p 0 fe:00 1 /x.ttf/data.bin", false);
        row("ends like a font", "1000-2000 r--p 0 fe:00 1 /fonts/attf", false);
        row("anonymous", "1000-2000 r--p 00000000 00:00 0", false);
        row("empty range", "2000-2000 r--p 00000000 fe:00 1 /fonts/a.ttf", false);
        row("reversed range", "2000-1000 r--p 00000000 fe:00 1 /fonts/a.ttf", false);
        row("no dash", "10002000 r--p 00000000 fe:00 1 /fonts/a.ttf", false);
        row("not hex", "10g0-2000 r--p 00000000 fe:00 1 /fonts/a.ttf", false);
        row("empty", "", false);
    }
    void ParsesOnlyReadOnlyPrivateFontFiles() {
        QFETCH(QString, line);
        QFETCH(bool, font);
        FontMapping mapping;
        const std::string text = line.toStdString();
        QCOMPARE(ParseFontMapping(text, mapping), font);
        if (!font) return;
        QFETCH(qulonglong, start);
        QFETCH(qulonglong, end);
        QCOMPARE(static_cast<qulonglong>(mapping.start), start);
        QCOMPARE(static_cast<qulonglong>(mapping.end), end);
    }

    // A font file read whole is resident; let go, it is not, and reads the same bytes again.
    void PagesLetGoReadBackTheFile() {
        QTemporaryDir folder;
        const std::string path = (folder.path() + "/Face.TTF").toStdString();
        constexpr std::size_t kSize = 64 * 4096;
        std::string bytes(kSize, '\0');
        for (std::size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
        std::ofstream(path, std::ios::binary).write(bytes.data(), kSize);

        const int file = open(path.c_str(), O_RDONLY);
        QVERIFY(file >= 0);
        void* mapped = mmap(nullptr, kSize, PROT_READ, MAP_PRIVATE, file, 0);
        close(file);
        QVERIFY(mapped != MAP_FAILED);
        const auto* view = static_cast<const unsigned char*>(mapped);
        unsigned sum = 0;
        for (std::size_t i = 0; i < kSize; i += 4096) sum += view[i];
        QVERIFY(sum > 0);
        QCOMPARE(ResidentKb(mapped), static_cast<long>(kSize / 1024));

        LetFontPagesGo();
        QCOMPARE(ResidentKb(mapped), 0L);
        QVERIFY(std::equal(bytes.begin(), bytes.end(), reinterpret_cast<const char*>(view)));
        munmap(mapped, kSize);
    }
};

int RunFontPagesTests(int argc, char** argv) {
    FontPagesTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "font_pages_tests.moc"
