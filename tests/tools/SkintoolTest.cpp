// skintool run as a program, as skin authors run it: help, version and usage on the right streams
// with the documented exit codes, every error on standard error naming the file and the reason, the
// password from the environment, colour keys in list, extract that never destroys a user's file,
// the NLEN check of inflate, and the unpack/pack round trip on the demo skins and on skin files of
// Info-ZIP and 7-Zip.
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_Bytes.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"

#include <sys/wait.h>

#include <fstream>
#include <sstream>

namespace kel::reader_test {
namespace {

const std::string kTool = KEL_SKINTOOL_PATH;

struct TRun {
    int code = -1;
    std::string out, err;
};

class SkintoolTest : public ReaderFixture {
protected:
    // Runs a shell command line in the work folder; `tool` stands for skintool.
    TRun Run(const std::string& arguments, const std::string& environment = "") const {
        const std::string out = Path(".out"), err = Path(".err");
        const std::string line = "cd '" + Path("") + "' && " + environment + " '" + kTool + "' " +
                                 arguments + " >'" + out + "' 2>'" + err + "'";
        const int status = std::system(line.c_str());
        TRun run;
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Text(out);
        run.err = Text(err);
        fs::remove(out);
        fs::remove(err);
        return run;
    }
    void Shell(const std::string& command) const {
        const std::string line = "cd '" + Path("") + "' && { " + command + "; } >/dev/null 2>&1";
        const int status = std::system(line.c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << line;
    }
    static std::string Text(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteText(const std::string& name, const std::string& text) const {
        Write(name, Bytes(text.begin(), text.end()));
    }
    // A skin folder with a bitmap and entries.txt.
    void MakeFolder(const std::string& name) const {
        fs::create_directories(Path(name));
        Write(name + "/SKIN2_BUTTON.bmp", TestBmp(12, 5));
        WriteText(name + "/entries.txt", "color SKIN2_FORMCOLOR 0x00C08040\n"
                                         "integer SKIN2_TITLEBARICONPOSX 7\n"
                                         "integer skin2_transcolor 16711935\n"
                                         "integer OTHER -3\n"
                                         "boolean SKIN2_BUTTONTRANS 1\n"
                                         "string AUTHOR me\n");
    }
    // The skin data a skin file holds, extracted as the reader does.
    Bytes SkinData(const std::string& skin, const std::string& password = "") const {
        const std::string out = Path(".skindata");
        EXPECT_EQ(ExtractArchiveEntry(skin, "SKINDATA.SK2", out, password), erExtracted) << skin;
        Bytes data = fs::exists(out) ? ReadWholeFile(out, kMaxEntrySize) : Bytes();
        fs::remove(out);
        return data;
    }
    // Files of the work folder other than the given ones.
    std::vector<std::string> WorkFiles() const {
        std::vector<std::string> names = FilesIn(Path(""));
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(SkintoolTest, HelpAndVersionGoToStandardOutputAndExitZero) {
    for (const char* help : {"--help", "-h", "help"}) {
        const TRun run = Run(help);
        EXPECT_EQ(run.code, 0) << help;
        EXPECT_EQ(run.out.rfind("usage: skintool COMMAND", 0), 0u) << help;
        EXPECT_NE(run.out.find("exit codes:"), std::string::npos);
        EXPECT_NE(run.out.find("SKINTOOL_PASSWORD"), std::string::npos);
        for (const char* command : {"list", "extract", "pack", "unpack", "inflate", "bmp"})
            EXPECT_NE(run.out.find(std::string("skintool ") + command), std::string::npos);
        EXPECT_EQ(run.err, "") << help;
    }
    const TRun version = Run("--version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("skintool ", 0), 0u);
    EXPECT_EQ(version.err, "");
}

TEST_F(SkintoolTest, UsageErrorsGoToStandardErrorAndExitOne) {
    for (const char* arguments : {"", "frobnicate", "list", "list a b", "extract a",
                                  "list a --password", "list a --colour", "inflate a b", "bmp"}) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.code, 1) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_NE(run.err.find("usage: skintool"), std::string::npos) << arguments << run.err;
    }
    EXPECT_NE(Run("frobnicate").err.find("unknown command 'frobnicate'"), std::string::npos);
}

TEST_F(SkintoolTest, ErrorsNameTheFileAndTheReason) {
    MakeFolder("skin");
    ASSERT_EQ(Run("pack skin secret.skn --password pw").code, 0);
    ASSERT_EQ(Run("pack skin plain.skn").code, 0);

    TRun run = Run("list secret.skn --password nope");
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "not loaded\n");
    EXPECT_EQ(run.err, "skintool list: secret.skn: wrong password\n");
    run = Run("list secret.skn");
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "skintool list: secret.skn: encrypted skin file and no password given\n");
    run = Run("list missing.skn");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "skintool list: missing.skn: file not found\n");
    Shell("cp plain.skn pk.zip && printf PK | dd of=pk.zip conv=notrunc");
    EXPECT_EQ(Run("list pk.zip").err, "skintool list: pk.zip: not a skin file\n");

    // Damaged: a changed CRC-32 in the central directory, and data cut short.
    Bytes archive = ReadWholeFile(Path("plain.skn"), kMaxEntrySize);
    const size_t central = LoadLE32(archive.data() + archive.size() - 22 + 16);
    Bytes crc = archive;
    crc[central + 16] ^= 1;
    Write("crc.skn", crc);
    run = Run("list crc.skn");
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "skintool list: crc.skn: damaged data: CRC-32 mismatch\n");
    Bytes size = archive;
    StoreLE32(size.data() + central + 24, LoadLE32(size.data() + central + 24) + 1);
    Write("size.skn", size);
    EXPECT_EQ(Run("list size.skn").err,
              "skintool list: size.skn: damaged data: size differs from the recorded size\n");

    run = Run("extract secret.skn out.sk2 --password nope");
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "skintool extract: secret.skn: wrong password\n");
    run = Run("unpack crc.skn folder");
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "skintool unpack: crc.skn: damaged data: CRC-32 mismatch\n");
    EXPECT_FALSE(fs::exists(Path("folder")));
    run = Run("pack nofolder x.skn");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("skintool pack: nofolder: "), std::string::npos) << run.err;
    run = Run("bmp plain.skn");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "skintool bmp: plain.skn: Bitmap image is not valid\n");
}

TEST_F(SkintoolTest, PasswordFromTheEnvironment) {
    MakeFolder("skin");
    ASSERT_EQ(Run("pack skin secret.skn", "SKINTOOL_PASSWORD=pw").code, 0);
    EXPECT_EQ(Run("list secret.skn").code, 2) << "encrypted with the variable's password";
    EXPECT_EQ(Run("list secret.skn", "SKINTOOL_PASSWORD=pw").code, 0);
    EXPECT_EQ(Run("list secret.skn --password=pw").code, 0);
    // The option wins over the variable.
    EXPECT_EQ(Run("list secret.skn --password nope", "SKINTOOL_PASSWORD=pw").code, 2);
    EXPECT_EQ(Run("list secret.skn --password pw", "SKINTOOL_PASSWORD=nope").code, 0);
    EXPECT_EQ(Run("extract secret.skn out.sk2", "SKINTOOL_PASSWORD=pw").code, 0);
    EXPECT_EQ(Run("unpack secret.skn folder", "SKINTOOL_PASSWORD=pw").code, 0);
}

TEST_F(SkintoolTest, ListPrintsColourKeysAsColours) {
    MakeFolder("skin");
    ASSERT_EQ(Run("pack skin plain.skn").code, 0);
    const TRun run = Run("list plain.skn");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "loaded\n"
                       "bitmap SKIN2_BUTTON 12x5\n"
                       "color SKIN2_FORMCOLOR 0x00C08040\n"
                       "integer SKIN2_TITLEBARICONPOSX 7\n"
                       "color skin2_transcolor 0x00FF00FF\n"
                       "integer OTHER -3\n"
                       "boolean SKIN2_BUTTONTRANS 1\n"
                       "string AUTHOR me\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(SkintoolTest, ExtractNeverDestroysTheUsersFile) {
    MakeFolder("skin");
    ASSERT_EQ(Run("pack skin secret.skn --password pw").code, 0);
    WriteText("precious.txt", "the user's own file");
    const std::vector<std::string> before = WorkFiles();
    for (const char* arguments :
         {"extract secret.skn precious.txt", "extract secret.skn precious.txt --password x",
          "extract missing.skn precious.txt", "extract skin precious.txt"}) {
        EXPECT_NE(Run(arguments).code, 0) << arguments;
        EXPECT_EQ(Text(Path("precious.txt")), "the user's own file") << arguments;
        EXPECT_EQ(WorkFiles(), before) << arguments << ": no temporary file is left";
    }
    // On success the file is replaced, and nothing else is left.
    EXPECT_EQ(Run("extract secret.skn precious.txt --password pw").code, 0);
    EXPECT_EQ(ReadWholeFile(Path("precious.txt"), kMaxEntrySize),
              SkinData(Path("secret.skn"), "pw"));
    EXPECT_EQ(WorkFiles(), before);
    // pack too writes beside its output and renames.
    WriteText("precious.skn", "another file of the user");
    EXPECT_EQ(Run("pack nofolder precious.skn").code, 1);
    EXPECT_EQ(Text(Path("precious.skn")), "another file of the user");
}

TEST_F(SkintoolTest, InflateChecksStoredBlockLengths) {
    // LEN 5 with NLEN 0: zlib says "invalid stored block lengths", and so does skintool now.
    TRun run = Run("inflate < stdin.bin");
    Write("bad.bin", {0x01, 0x05, 0x00, 0x00, 0x00, 'h', 'e', 'l', 'l', 'o'});
    Write("good.bin", {0x01, 0x05, 0x00, 0xFA, 0xFF, 'h', 'e', 'l', 'l', 'o'});
    run = Run("inflate < bad.bin");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "skintool inflate: (standard input): invalid or truncated DEFLATE stream\n");
    run = Run("inflate good.bin");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "hello");
    // Endless zero bytes end at the first block instead of decoding forever.
    run = Run("inflate /dev/zero", "timeout 20");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "skintool inflate: /dev/zero: invalid or truncated DEFLATE stream\n");
}

// --- unpack and pack: pack, unpack, pack gives a skin file with the same content.

class RoundTripTest : public SkintoolTest {
protected:
    // Unpacks `skin` and packs the folder again, twice; the two packed files hold the same skin
    // data, and so does `skin` when `sameAsOriginal`. Returns the first packed file.
    std::string RoundTrip(const std::string& skin, const std::string& password,
                          bool sameAsOriginal) {
        SCOPED_TRACE(skin);
        const std::string option = password.empty() ? "" : " --password " + password;
        const std::string list = Run("list '" + skin + "'" + option).out;
        EXPECT_EQ(list.rfind("loaded\n", 0), 0u) << list;
        const std::string stem = fs::path(skin).stem().string();
        const std::string first = stem + "-1.skn", second = stem + "-2.skn";
        EXPECT_EQ(Run("unpack '" + skin + "' " + stem + "-a" + option).code, 0);
        EXPECT_EQ(Run("pack " + stem + "-a " + first).code, 0);
        EXPECT_EQ(Run("unpack " + first + " " + stem + "-b").code, 0);
        EXPECT_EQ(Run("pack " + stem + "-b " + second).code, 0);
        EXPECT_EQ(Text(Path(stem + "-a/entries.txt")), Text(Path(stem + "-b/entries.txt")));
        const Bytes data = SkinData(Path(first));
        EXPECT_FALSE(data.empty());
        EXPECT_EQ(SkinData(Path(second)), data);
        EXPECT_EQ(ReadWholeFile(Path(first), kMaxEntrySize),
                  ReadWholeFile(Path(second), kMaxEntrySize))
            << "packing is reproducible";
        if (sameAsOriginal) {
            EXPECT_EQ(SkinData(skin, password), data);
        }
        // What the reader sees is the same in all of them.
        EXPECT_EQ(Run("list " + first).out, list);
        return first;
    }
};

TEST_F(RoundTripTest, DemoSkins) {
    const fs::path artwork = KEL_ARTWORK_DIR;
    int tried = 0;
    for (const char* folder : {"skins/burnerRes", "skins/burnerRes2"}) {
        const fs::path skin = artwork / folder;
        if (!fs::is_directory(skin)) continue;
        ++tried;
        const std::string name = skin.filename().string() + ".skn";
        ASSERT_EQ(Run("pack '" + skin.string() + "' " + name).code, 0);
        RoundTrip(Path(name), "", true);
        // The unpacked pictures are the demo's files as they are.
        const std::string unpacked = fs::path(name).stem().string() + "-a";
        for (const auto& file : fs::directory_iterator(skin))
            EXPECT_EQ(ReadWholeFile(Path(unpacked + "/" + file.path().filename().string()),
                                    kMaxEntrySize),
                      ReadWholeFile(file.path().string(), kMaxEntrySize))
                << file.path();
    }
    if (tried == 0) GTEST_SKIP() << "no demo skins under " << artwork << " (make artwork)";
}

TEST_F(RoundTripTest, SkinFilesOfRealArchivers) {
    // The checked-in fixtures (Info-ZIP plain, through a pipe, with a second entry, encrypted;
    // 7-Zip ZipCrypto), and archives made here from a skin data file with names and texts that
    // need escaping in entries.txt.
    const fs::path corpus = fs::path(KEL_SOURCE_ROOT) / "fuzz/corpus/skinreader";
    for (const char* name : {"infozip-plain.skn", "infozip-pipe-descriptor.skn",
                             "infozip-two-entries.skn", "packed-plain.skn"})
        RoundTrip((corpus / name).string(), "", false);
    for (const char* name : {"infozip-pw-descriptor.skn", "7zip-zipcrypto-pw.skn", "packed-pw.skn"})
        RoundTrip((corpus / name).string(), "pw", false);

    const std::string odd = "bitmap SKIN2_BUTTON b.bmp\n"
                            "bitmap con c.bmp\n"
                            "bitmap Skin2_Button d.bmp\n"
                            "string A%20NAME%25 two blanks  \n"
                            "stringhex LINES 6F6E650D0A74776F0A\n"
                            "string EMPTY \n"
                            "boolean B 200\n"
                            "integer N -2147483648\n"
                            "color SKIN2_FORMCOLOR $00102030\n";
    fs::create_directories(Path("odd"));
    Write("odd/b.bmp", TestBmp(7, 3, 1));
    Write("odd/c.bmp", TestBmp(2, 9, 2));
    Write("odd/d.bmp", TestBmp(5, 5, 3));
    WriteText("odd/entries.txt", odd);
    ASSERT_EQ(Run("pack odd odd.skn").code, 0);
    ASSERT_EQ(Run("extract odd.skn SKINDATA.SK2").code, 0);
    Shell("zip -q -P pw infozip.zip SKINDATA.SK2 && "
          "7z a -tzip -mm=Deflate -mem=ZipCrypto -ppw seven.zip SKINDATA.SK2");
    for (const char* archive : {"infozip.zip", "seven.zip"}) {
        Bytes bytes = ReadWholeFile(Path(archive), kMaxEntrySize);
        bytes[0] = 'S';
        bytes[1] = 'K';
        Write(archive, bytes);
        RoundTrip(Path(archive), "pw", true);
    }
    const std::string listed = Run("list odd.skn").out;
    EXPECT_NE(listed.find("string A NAME% two blanks  \n"), std::string::npos) << listed;
    EXPECT_NE(listed.find("boolean B 1\n"), std::string::npos);
    EXPECT_NE(listed.find("color SKIN2_FORMCOLOR 0x00102030\n"), std::string::npos);
}

} // namespace
} // namespace kel::reader_test
