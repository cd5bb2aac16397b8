// ExtractArchiveEntry and the whole reader on skin files made by real archivers (Info-ZIP zip and
// zipnote, 7-Zip), plain and encrypted, with and without data descriptors, and on archives
// altered to probe each refusal.
#include "skin/themes/KEL2SkinReader.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"
#include "tools/skintool/SkinDeflate.h"
#include "tools/skintool/SkinPacker.h"

#include "framework/SysUtils.h"

#include <zlib.h>

#include <sys/wait.h>

#include <chrono>

namespace kel::reader_test {
namespace {

using skintool::BuildSkinArchive;
using skintool::BuildSkinData;

constexpr size_t kCentralFlags = 8;
constexpr size_t kCentralUncompressedSize = 24;

Bytes SampleSkinData() {
    return BuildSkinData({skintool::BitmapEntry("SKIN2_TITLEBAR1", TestBmp(60, 20, 1)),
                          skintool::BitmapEntry("SKIN2_BUTTON", TestBmp(40, 15, 2)),
                          skintool::IntegerEntry("SKIN2_TITLEBARICONPOSX", 5),
                          skintool::BooleanEntry("SKIN2_TITLEFIVESECT", 1)});
}

// Offset of the first central directory header, from the end record.
size_t CentralOffset(const Bytes& archive) {
    return LoadLE32(archive.data() + archive.size() - 22 + 16);
}

class ArchiveTest : public ReaderFixture {
protected:
    void SetUp() override {
        ReaderFixture::SetUp();
        skinData_ = SampleSkinData();
        Write("SKINDATA.SK2", skinData_);
    }

    // A copy of the archive whose central directory records another uncompressed size.
    std::string WithRecordedSize(Bytes archive, const std::string& name, uint32_t size) const {
        StoreLE32(archive.data() + CentralOffset(archive) + kCentralUncompressedSize, size);
        return Write(name, archive);
    }

    // Runs a shell command in the work folder; the test fails when it does not succeed.
    void Shell(const std::string& command) const {
        const std::string line = "cd '" + Path("") + "' && { " + command + "; } >/dev/null 2>&1";
        const int status = std::system(line.c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << line;
    }

    // Turns the archive `name` into a skin file: its first two bytes become "SK".
    std::string MakeSkinFile(const std::string& name) const {
        Bytes archive = ReadWholeFile(Path(name), kMaxEntrySize);
        if (archive.size() < 2) throw Exception("no archive " + name);
        archive[0] = 'S';
        archive[1] = 'K';
        return Write(name, archive);
    }

    TExtractResult Extract(const std::string& skinFile, const std::string& password = "") const {
        return ExtractArchiveEntry(skinFile, "SKINDATA.SK2", Output(), password);
    }
    // The result of an extraction and the reason it gives.
    std::pair<TExtractResult, TSkinLoadFailure> Why(const std::string& skinFile,
                                                    const std::string& password = "") const {
        TSkinLoadFailure failure{sleOutputFile, true}; // overwritten on every way out
        const TExtractResult result =
            ExtractArchiveEntry(skinFile, "SKINDATA.SK2", Output(), password, &failure);
        return {result, failure};
    }
    // Expects the result and the reason, and that no output was left behind.
    void ExpectWhy(const std::string& skinFile, const std::string& password, TExtractResult result,
                   TSkinLoadError error, bool encrypted = false) const {
        const auto [gotResult, gotFailure] = Why(skinFile, password);
        EXPECT_EQ(gotResult, result) << skinFile;
        EXPECT_EQ(gotFailure.Error, error) << skinFile << ": " << SkinLoadErrorText(gotFailure);
        EXPECT_EQ(gotFailure.Encrypted, encrypted) << skinFile;
        EXPECT_FALSE(OutputExists()) << skinFile;
    }
    // The central directory's CRC-32 of the first entry, changed.
    std::string WithOtherCrc(const std::string& skin, const std::string& name) const {
        Bytes archive = ReadWholeFile(skin, kMaxEntrySize);
        uint8_t* crc = archive.data() + CentralOffset(archive) + 16;
        StoreLE32(crc, LoadLE32(crc) ^ 0x00000100u); // not the high byte: the check byte stays
        return Write(name, archive);
    }
    std::string Output() const { return Path("out.sk2"); }
    // General-purpose flags of the first central directory entry.
    uint16_t EntryFlags(const std::string& skin) const {
        const Bytes archive = ReadWholeFile(skin, kMaxEntrySize);
        return LoadLE16(archive.data() + CentralOffset(archive) + kCentralFlags);
    }
    bool OutputExists() const { return fs::exists(Output()); }
    Bytes OutputBytes() const { return ReadWholeFile(Output(), kMaxEntrySize); }

    Bytes skinData_;
};

TEST_F(ArchiveTest, InfoZipArchiveExtractsAndLoads) {
    Shell("zip -q plain.zip SKINDATA.SK2");
    const std::string skin = MakeSkinFile("plain.zip");
    ASSERT_EQ(Extract(skin), erExtracted);
    EXPECT_EQ(OutputBytes(), skinData_);

    const Tsk2SkinFileReader reader(skin, "");
    ASSERT_TRUE(reader.Loaded());
    ASSERT_NE(reader.GetBitmap("skin2_titlebar1"), nullptr);
    EXPECT_EQ(reader.GetBitmap("skin2_titlebar1")->Pixels, TestPicture(60, 20, 1).Pixels);
    EXPECT_EQ(reader.GetInteger("SKIN2_TITLEBARICONPOSX"), 5);
    EXPECT_TRUE(reader.GetBool("Skin2_TitleFiveSect"));
}

TEST_F(ArchiveTest, InfoZipEncryptedEntryNeedsTheRightPassword) {
    // Info-ZIP writes encrypted entries with a data descriptor (flag bit 3): the check byte is the
    // modification time's high byte.
    Shell("zip -q -P secret enc.zip SKINDATA.SK2");
    const std::string skin = MakeSkinFile("enc.zip");
    ASSERT_EQ(EntryFlags(skin) & 9, 9);

    EXPECT_EQ(Extract(skin, ""), erRejected);
    EXPECT_FALSE(OutputExists());
    EXPECT_EQ(Extract(skin, "wrong password"), erRejected);
    EXPECT_FALSE(OutputExists());
    ASSERT_EQ(Extract(skin, "secret"), erExtracted);
    EXPECT_EQ(OutputBytes(), skinData_);

    // The reader: no password or a wrong one leaves it not loaded, without an exception.
    EXPECT_FALSE(Tsk2SkinFileReader(skin, "").Loaded());
    EXPECT_FALSE(Tsk2SkinFileReader(skin, "Secret").Loaded());
    EXPECT_TRUE(Tsk2SkinFileReader(skin, "secret").Loaded());
}

TEST_F(ArchiveTest, DataDescriptorEntriesWrittenToAPipe) {
    // Writing to a pipe, zip cannot seek back: sizes and CRC follow the data (flag bit 3) and the
    // central directory is the only place the reader finds them.
    for (const std::string password : {"", "pipe pass"}) {
        SCOPED_TRACE(password);
        const std::string option = password.empty() ? "" : "-P '" + password + "' ";
        Shell("rm -f dd.zip && zip -q " + option + "- SKINDATA.SK2 | cat >dd.zip");
        const std::string skin = MakeSkinFile("dd.zip");
        ASSERT_EQ(EntryFlags(skin) & 9, password.empty() ? 8 : 9);
        ASSERT_EQ(Extract(skin, password), erExtracted);
        EXPECT_EQ(OutputBytes(), skinData_);
        if (!password.empty()) {
            EXPECT_EQ(Extract(skin, "x"), erRejected);
        }
    }
}

TEST_F(ArchiveTest, SevenZipZipCryptoChecksTheCrc) {
    Shell("7z a -tzip -mm=Deflate -mem=ZipCrypto -p7secret seven.zip SKINDATA.SK2");
    const std::string skin = MakeSkinFile("seven.zip");
    ASSERT_EQ(EntryFlags(skin) & 9, 1);
    EXPECT_EQ(Extract(skin, ""), erRejected);
    EXPECT_EQ(Extract(skin, "7secreT"), erRejected);
    ASSERT_EQ(Extract(skin, "7secret"), erExtracted);
    EXPECT_EQ(OutputBytes(), skinData_);
    EXPECT_TRUE(Tsk2SkinFileReader(skin, "7secret").Loaded());
}

TEST_F(ArchiveTest, EntryNameIsMatchedIgnoringAsciiCase) {
    Shell("cp SKINDATA.SK2 skindata.sk2 && zip -q lower.zip skindata.sk2");
    ASSERT_EQ(Extract(MakeSkinFile("lower.zip")), erExtracted);
    EXPECT_EQ(OutputBytes(), skinData_);
}

TEST_F(ArchiveTest, EarlierEntriesWithExtraFieldsCommentsAndLongNamesAreSkipped) {
    // Info-ZIP stores extra fields (time stamps, owner) by default, zipnote adds an entry comment,
    // and a file three folders deep has a name longer than the 259 bytes any name is compared with.
    const std::string folder(100, 'd');
    const std::string deep = folder + "/" + folder + "/" + folder + "/DEEP.TXT";
    Shell("mkdir -p " + folder + "/" + folder + "/" + folder + " && echo deep >" + deep);
    Write("README.TXT", Bytes(100, 'r'));
    Shell("zip -q -D multi.zip " + deep + " README.TXT SKINDATA.SK2");
    Shell("printf '@ README.TXT\\na comment\\n@ SKINDATA.SK2\\n' | zipnote -w multi.zip");
    const std::string skin = MakeSkinFile("multi.zip");
    const Bytes archive = ReadWholeFile(skin, kMaxEntrySize);
    const uint8_t* first = archive.data() + CentralOffset(archive);
    ASSERT_EQ(LoadLE16(first + 28), deep.size());
    ASSERT_GT(LoadLE16(first + 30), 0) << "extra field";
    const uint8_t* second =
        first + 46 + LoadLE16(first + 28) + LoadLE16(first + 30) + LoadLE16(first + 32);
    ASSERT_GT(LoadLE16(second + 30), 0) << "extra field";
    ASSERT_GT(LoadLE16(second + 32), 0) << "comment";
    ASSERT_EQ(Extract(skin), erExtracted);
    EXPECT_EQ(OutputBytes(), skinData_);
}

TEST_F(ArchiveTest, UnreadableSkinFiles) {
    Shell("zip -q plain.zip SKINDATA.SK2 && cp plain.zip commented.zip && cp plain.zip pk.zip");
    Shell("echo 'a comment' | zip -q -z commented.zip");
    Write("OTHER.TXT", Bytes(10, 'o'));
    Shell("zip -q other.zip OTHER.TXT");

    EXPECT_EQ(Extract(MakeSkinFile("commented.zip")), erUnreadable) << "archive comment";
    EXPECT_EQ(Extract(Path("pk.zip")), erUnreadable) << "first bytes PK";
    EXPECT_EQ(Extract(MakeSkinFile("other.zip")), erUnreadable) << "no SKINDATA.SK2";
    EXPECT_EQ(Extract(Path("missing.zip")), erUnreadable);
    EXPECT_EQ(Extract(Path("")), erUnreadable) << "a folder";
    EXPECT_EQ(Extract(Write("short", {'S', 'K', 5})), erUnreadable);
    EXPECT_EQ(Extract(Write("tiny", {'S', 'K', 0, 0, 0, 0, 0, 0, 0, 0})), erUnreadable);
    EXPECT_FALSE(OutputExists());

    try {
        Tsk2SkinFileReader reader(Path("pk.zip"), "");
        FAIL() << "an unreadable skin file was loaded";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Failed to read skin file!");
    }
}

TEST_F(ArchiveTest, CentralDirectoryOffsetsOutsideTheFile) {
    Shell("zip -q plain.zip SKINDATA.SK2");
    Bytes archive = ReadWholeFile(MakeSkinFile("plain.zip"), kMaxEntrySize);
    const size_t central = CentralOffset(archive);

    Bytes beyond = archive; // directory offset past the end record: nothing scanned
    StoreLE32(beyond.data() + beyond.size() - 6, static_cast<uint32_t>(beyond.size()));
    EXPECT_EQ(Extract(Write("beyond", beyond)), erUnreadable);

    Bytes local = archive; // local header offset past the end of the file
    StoreLE32(local.data() + central + 42, 0x7FFFFFF0u);
    EXPECT_EQ(Extract(Write("local", local)), erRejected) << "the output existed: sizes differ";
    EXPECT_FALSE(OutputExists());

    Bytes hugeName = archive; // name length beyond the end of the file
    StoreLE16(hugeName.data() + central + 28, 0xFFFF);
    EXPECT_EQ(Extract(Write("name", hugeName)), erUnreadable);
}

// Sizes in the central directory that disagree with the data.
TEST_F(ArchiveTest, RecordedSizeDecidesTheVerdict) {
    Shell("zip -q plain.zip SKINDATA.SK2");
    const Bytes archive = ReadWholeFile(MakeSkinFile("plain.zip"), kMaxEntrySize);
    const auto withSize = [&](const std::string& name, uint32_t size) {
        return WithRecordedSize(archive, name, size);
    };
    const auto real = static_cast<uint32_t>(skinData_.size());
    EXPECT_EQ(Extract(withSize("smaller", real - 1)), erRejected);
    EXPECT_FALSE(OutputExists());
    EXPECT_EQ(Extract(withSize("larger", real + 1)), erRejected);
    EXPECT_FALSE(OutputExists());
    EXPECT_EQ(Extract(withSize("limit", kMaxEntrySize + 1)), erRejected);
    EXPECT_FALSE(OutputExists());
    // The local header's sizes are not used.
    Bytes local = archive;
    StoreLE32(local.data() + 18, 1);
    StoreLE32(local.data() + 22, 1);
    EXPECT_EQ(Extract(Write("local", local)), erExtracted);
}

TEST_F(ArchiveTest, DecompressionBombStopsAtTheRecordedSize) {
    // 256 MB of zeros deflate to a few hundred KB; recorded as 1,000 bytes, the output must stop
    // there rather than fill the disk.
    const size_t bombSize = 256u * 1024 * 1024;
    const auto compressBomb = [&](const uint8_t*, size_t) {
        Bytes zeros(1 << 20, 0), out(1 << 20);
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
        Bytes stream;
        for (size_t done = 0; done < bombSize; done += zeros.size()) {
            z.next_in = zeros.data();
            z.avail_in = static_cast<uInt>(zeros.size());
            const int flush = done + zeros.size() >= bombSize ? Z_FINISH : Z_NO_FLUSH;
            do {
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                deflate(&z, flush);
                stream.insert(stream.end(), out.data(), z.next_out);
            } while (z.avail_out == 0);
        }
        deflateEnd(&z);
        return stream;
    };
    const Bytes skin = BuildSkinArchive(Bytes(1000, 0), "", compressBomb);
    EXPECT_EQ(Extract(Write("bomb.skn", skin)), erRejected);
    EXPECT_FALSE(OutputExists());
}

TEST_F(ArchiveTest, RefusedDeflateStreams) {
    const auto stream = [](Bytes bytes) {
        return [bytes](const uint8_t*, size_t) { return bytes; };
    };
    // A dynamic block header declaring 287 literal/length codes: the decoder refuses it, nothing
    // is written, and the size check turns the result into a rejection.
    // Bits from the first: final 1, type 2 (dynamic), HLIT - 257 = 30, then zeros.
    const Bytes hlit287 = {0xF5, 0x00, 0x00, 0x00};
    EXPECT_EQ(Extract(Write("hlit.skn", BuildSkinArchive(skinData_, "", stream(hlit287)))),
              erRejected);
    // The same with nothing recorded: written and recorded sizes agree (0), the result stays 1.
    EXPECT_EQ(Extract(Write("hlit0.skn", BuildSkinArchive({}, "", stream(hlit287)))), erUnreadable);
    // An empty entry that decodes to 0 bytes is no skin data either.
    EXPECT_EQ(Extract(Write("empty.skn", BuildSkinArchive({}, ""))), erUnreadable);
    // Truncated in the middle of the data, plain and encrypted.
    Bytes truncated = skintool::DeflateRaw(skinData_.data(), skinData_.size());
    truncated.resize(truncated.size() / 2);
    EXPECT_EQ(Extract(Write("cut.skn", BuildSkinArchive(skinData_, "", stream(truncated)))),
              erRejected);
    EXPECT_EQ(
        Extract(Write("cutenc.skn", BuildSkinArchive(skinData_, "pw", stream(truncated))), "pw"),
        erRejected);
    EXPECT_FALSE(OutputExists());
}

// --- The reason of every refusal, on files of Info-ZIP, 7-Zip and our packer.

TEST_F(ArchiveTest, ReasonsForFilesThatAreNoSkinFiles) {
    Shell("zip -q plain.zip SKINDATA.SK2 && cp plain.zip commented.zip && cp plain.zip pk.zip");
    Shell("echo 'a comment' | zip -q -z commented.zip");
    Write("OTHER.TXT", Bytes(10, 'o'));
    Shell("zip -q other.zip OTHER.TXT");
    ExpectWhy(Path("missing.skn"), "", erUnreadable, sleFileMissing);
    ExpectWhy(Path(""), "", erUnreadable, sleFileMissing); // a folder
    ExpectWhy(Path("pk.zip"), "", erUnreadable, sleNotSkinFile);
    ExpectWhy(MakeSkinFile("commented.zip"), "", erUnreadable, sleNotSkinFile);
    ExpectWhy(Write("tiny", {'S', 'K', 0, 0}), "", erUnreadable, sleNotSkinFile);
    ExpectWhy(MakeSkinFile("other.zip"), "", erUnreadable, sleEntryMissing);
    const auto [result, failure] = Why(MakeSkinFile("plain.zip"));
    EXPECT_EQ(result, erExtracted);
    EXPECT_EQ(failure.Error, sleNone);
    EXPECT_EQ(SkinLoadErrorText(failure), "loaded");
}

TEST_F(ArchiveTest, ReasonsForPasswordsOnEveryArchiver) {
    Shell("zip -q -P secret infozip.zip SKINDATA.SK2");
    Shell("7z a -tzip -mm=Deflate -mem=ZipCrypto -psecret seven.zip SKINDATA.SK2");
    const std::string packed = Write("packed.skn", BuildSkinArchive(skinData_, "secret"));
    for (const std::string& skin :
         {MakeSkinFile("infozip.zip"), MakeSkinFile("seven.zip"), packed}) {
        ExpectWhy(skin, "", erRejected, sleNoPassword);
        // A wrong password fails the check byte, except one in 256 (Info-ZIP's and 7-Zip's
        // check bytes come from the file's time); that one fails on the data it decodes.
        const auto [wrongResult, wrong] = Why(skin, "Secret");
        EXPECT_EQ(wrongResult, erRejected) << skin;
        EXPECT_TRUE(
            wrong.Error == sleWrongPassword ||
            (wrong.Encrypted && (wrong.Error == sleBadDeflate || wrong.Error == sleSizeMismatch ||
                                 wrong.Error == sleCrcMismatch)))
            << skin << ": " << SkinLoadErrorText(wrong);
        EXPECT_FALSE(OutputExists()) << skin;
        const auto [result, failure] = Why(skin, "secret");
        EXPECT_EQ(result, erExtracted) << skin;
        EXPECT_EQ(failure.Error, sleNone) << skin;
    }
    EXPECT_EQ(SkinLoadErrorText({sleWrongPassword, false}), "wrong password");
}

TEST_F(ArchiveTest, WrongPasswordThatPassesTheCheckByteIsStillRefused) {
    // One password in 256 passes the check byte; the data then decodes to garbage, which the
    // DEFLATE decoder, the recorded size or at the latest the CRC-32 refuses.
    Shell("zip -q -P secret infozip.zip SKINDATA.SK2");
    const std::string packed = Write("packed.skn", BuildSkinArchive(skinData_, "secret"));
    for (const std::string& skin : {MakeSkinFile("infozip.zip"), packed}) {
        int passing = 0;
        for (int i = 0; i < 4000 && passing < 3; ++i) {
            const std::string password = "guess" + std::to_string(i);
            const auto [result, failure] = Why(skin, password);
            if (failure.Error == sleWrongPassword) continue;
            ++passing;
            EXPECT_EQ(result, erRejected) << password;
            EXPECT_TRUE(failure.Encrypted) << password;
            EXPECT_TRUE(failure.Error == sleBadDeflate || failure.Error == sleSizeMismatch ||
                        failure.Error == sleCrcMismatch)
                << password << ": " << SkinLoadErrorText(failure);
            EXPECT_NE(SkinLoadErrorText(failure).find("(or a wrong password)"), std::string::npos);
            EXPECT_FALSE(OutputExists());
        }
        EXPECT_GE(passing, 3) << skin;
    }
}

TEST_F(ArchiveTest, CrcMismatchIsDamagedData) {
    // Info-ZIP, plain and encrypted (its check byte comes from the time, so the CRC can change
    // alone), and our packer: the data decodes to the recorded size, but not to the recorded CRC.
    Shell("zip -q plain.zip SKINDATA.SK2 && zip -q -P secret enc.zip SKINDATA.SK2");
    ExpectWhy(WithOtherCrc(MakeSkinFile("plain.zip"), "crc.skn"), "", erRejected, sleCrcMismatch);
    ExpectWhy(WithOtherCrc(MakeSkinFile("enc.zip"), "crcenc.skn"), "secret", erRejected,
              sleCrcMismatch, true);
    // One byte of the skin data changed after the CRC-32 was taken, stored in a valid stream of the
    // right size: only the CRC-32 tells.
    Bytes changed = skinData_;
    changed[changed.size() / 2] ^= 0x55;
    const auto storeChanged = [&changed](const uint8_t*, size_t) {
        return skintool::DeflateRaw(changed.data(), changed.size());
    };
    const std::string skin = Write("changed.skn", BuildSkinArchive(skinData_, "", storeChanged));
    ExpectWhy(skin, "", erRejected, sleCrcMismatch);
    EXPECT_FALSE(Tsk2SkinFileReader(skin, "").Loaded());
    EXPECT_EQ(SkinLoadErrorText({sleCrcMismatch, false}), "damaged data: CRC-32 mismatch");
}

TEST_F(ArchiveTest, ReasonsForDamagedData) {
    Shell("zip -q plain.zip SKINDATA.SK2");
    const Bytes archive = ReadWholeFile(MakeSkinFile("plain.zip"), kMaxEntrySize);
    const auto withSize = [&](const std::string& name, uint32_t size) {
        return WithRecordedSize(archive, name, size);
    };
    const auto real = static_cast<uint32_t>(skinData_.size());
    ExpectWhy(withSize("smaller", real - 1), "", erRejected, sleSizeMismatch);
    ExpectWhy(withSize("larger", real + 1), "", erRejected, sleSizeMismatch);
    ExpectWhy(withSize("limit", kMaxEntrySize + 1), "", erRejected, sleEntryTooLarge);

    Bytes local = archive; // local header offset past the end of the file
    StoreLE32(local.data() + CentralOffset(local) + 42, 0x7FFFFFF0u);
    ExpectWhy(Write("local", local), "", erRejected, sleDamagedArchive);

    // Info-ZIP's first block turned into the reserved block type, and a header our decoder
    // refuses.
    Bytes reserved = archive;
    const size_t dataStart = 30 + LoadLE16(reserved.data() + 26) + LoadLE16(reserved.data() + 28);
    reserved[dataStart] |= 0x06;
    ExpectWhy(Write("reserved", reserved), "", erRejected, sleBadDeflate);
    const Bytes hlit287 = {0xF5, 0x00, 0x00, 0x00};
    ExpectWhy(Write("hlit.skn", BuildSkinArchive(skinData_, "",
                                                 [&](const uint8_t*, size_t) { return hlit287; })),
              "", erRejected, sleBadDeflate);
    EXPECT_EQ(SkinLoadErrorText({sleBadDeflate, false}),
              "damaged data: invalid or truncated DEFLATE stream");
}

TEST_F(ArchiveTest, ReasonsOfTheWholeReader) {
    // The reader passes the extraction's reasons on, and adds those of the skin data.
    Shell("zip -q -P secret enc.zip SKINDATA.SK2");
    const std::string skin = MakeSkinFile("enc.zip");
    TSkinLoadFailure failure;
    EXPECT_FALSE(Tsk2SkinFileReader(skin, "", &failure).Loaded());
    EXPECT_EQ(failure.Error, sleNoPassword);
    const Tsk2SkinFileReader wrong(skin, "wrong");
    EXPECT_FALSE(wrong.Loaded());
    EXPECT_EQ(wrong.Failure().Error, sleWrongPassword);
    const Tsk2SkinFileReader right(skin, "secret");
    EXPECT_TRUE(right.Loaded());
    EXPECT_EQ(right.Failure().Error, sleNone);

    failure = {};
    EXPECT_THROW(Tsk2SkinFileReader(Path("missing.skn"), "", &failure), Exception);
    EXPECT_EQ(failure.Error, sleFileMissing);

    Bytes badHeader = skinData_;
    StoreLE32(badHeader.data() + kSkinHeaderLengthField, 23);
    failure = {};
    EXPECT_THROW(
        Tsk2SkinFileReader(Write("header.skn", BuildSkinArchive(badHeader, "")), "", &failure),
        Exception);
    EXPECT_EQ(failure.Error, sleBadSkinData);

    const Bytes badBitmap = BuildSkinData({skintool::BitmapEntry("SKIN2_BUTTON", {'B', 'M', 1})});
    failure = {};
    EXPECT_THROW(
        Tsk2SkinFileReader(Write("bitmap.skn", BuildSkinArchive(badBitmap, "")), "", &failure),
        EInvalidGraphic);
    EXPECT_EQ(failure.Error, sleBadBitmap);
}

TEST_F(ArchiveTest, BitmapsPastTheSkinsPixelBudgetAreRefusedBeforeDecoding) {
    // Three RLE8 pictures of 8192 x 8192: 1.6 MB of skin data that would decode to 768 MB.
    const Bytes huge = Rle8Bmp(8192, 8192);
    const Bytes data = BuildSkinData({skintool::BitmapEntry("SKIN2_TITLEBAR1", huge),
                                      skintool::BitmapEntry("SKIN2_TITLEBAR2", huge),
                                      skintool::BitmapEntry("SKIN2_TITLEBAR3", huge)});
    const std::string skin = Write("huge.skn", BuildSkinArchive(data, ""));
    const auto start = std::chrono::steady_clock::now();
    TSkinLoadFailure failure;
    EXPECT_THROW(Tsk2SkinFileReader(skin, "", &failure), EInvalidGraphic);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(failure.Error, sleBadBitmap);
    // Pictures within the budget load: 2048 x 2048 each, twice.
    const Bytes fits = Rle8Bmp(2048, 2048);
    const std::string ok =
        Write("ok.skn", BuildSkinArchive(BuildSkinData({skintool::BitmapEntry("A", fits),
                                                        skintool::BitmapEntry("B", fits)}),
                                         ""));
    const Tsk2SkinFileReader reader(ok, "");
    ASSERT_TRUE(reader.Loaded());
    EXPECT_EQ(reader.GetBitmap("B")->Width, 2048);
}

TEST_F(ArchiveTest, OutputThatCannotBeCreatedIsUnreadable) {
    Shell("zip -q plain.zip SKINDATA.SK2");
    const std::string skin = MakeSkinFile("plain.zip");
    EXPECT_EQ(ExtractArchiveEntry(skin, "SKINDATA.SK2", Path("no/such/folder/out"), ""),
              erUnreadable);
    TSkinLoadFailure failure;
    ExtractArchiveEntry(skin, "SKINDATA.SK2", Path("no/such/folder/out"), "", &failure);
    EXPECT_EQ(failure.Error, sleOutputFile);
}

} // namespace
} // namespace kel::reader_test
