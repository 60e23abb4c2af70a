// vocaline-extract --format: every field read back and held against what exiftool, sox and sha256sum say of the
// same memo.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "bench/memogen.h"
#include "testkit.h"

namespace {

// The JSON records vocaline-extract writes for these arguments.
std::vector<QJsonObject> Records(const std::string& args)
{
    std::vector<QJsonObject> objects;
    for (const QByteArray& line : QByteArray::fromStdString(Shell(VOCALINE_EXTRACT " " + args)).split('\n'))
        objects.push_back(QJsonDocument::fromJson(line).object());
    return objects;
}

std::string Field(const QJsonObject& object, const char* name)
{
    return object.value(QLatin1String(name)).toVariant().toString().toStdString();
}

struct RealSample {
    const char* file;
    const char* source; // empty: no memo
    const char* format;
    const char* beside; // the memo's own file, for a memo beside the picture
};

// What each real camera file holds, by its independent readings.
TEST(Report, RealSamplesAgreeWithExiftoolAndSox)
{
    const RealSample samples[] = {
        {"real/hp-photosmart-433/IM000959.JPG", "flashpix", "IMA ADPCM", ""},
        {"real/hp-photosmart-735/HPIM1007_2.JPG", "flashpix", "PCM", ""},
        {"real/hp-photosmart-m627/HPIM3425.JPG", "flashpix", "PCM", ""},
        {"real/hp-photosmart-m425/HPIM0045.JPG", "", "", ""},
        {"real/kodak-dc260/P0004800.JPG", "fixed-layout", "IMA ADPCM", ""},
        {"real/kodak-dc260/P0004795.FPX", "fpx-file", "IMA ADPCM", ""},
        {"real/kodak-dc260/P0004794.FPX", "", "", ""},
        {"real/olympus-c3000/P1010006.JPG", "beside", "PCM", "P1010006.WAV"},
        {"IM000101.JPG", "fixed-layout", "IMA ADPCM", ""},
    };
    TempDir dir;
    for (const RealSample& sample : samples) {
        SCOPED_TRACE(sample.file);
        const std::string path = DataPath(sample.file);
        const std::vector<QJsonObject> records = Records("--check --format=json " + Quote(path));
        ASSERT_EQ(records.size(), 1u);
        const QJsonObject& r = records[0];
        EXPECT_EQ(Field(r, "path"), path);
        EXPECT_EQ(r.value("memo").toBool(), *sample.source != '\0');
        // The presence test agrees, on a copy the run may write beside.
        const std::string copy = dir / path.substr(path.rfind('/') + 1);
        WriteFile(copy, ReadFile(path));
        const std::string memo = *sample.beside ? path.substr(0, path.rfind('/') + 1) + sample.beside : dir / "m.wav";
        if (*sample.beside)
            WriteFile(dir / sample.beside, ReadFile(memo));
        EXPECT_EQ(Shell(VOCALINE_EXTRACT " --check " + Quote(copy)), copy + (*sample.source ? "\tYes" : "\tNo"));
        if (*sample.source == '\0') {
            EXPECT_EQ(r.keys(), (QStringList{"memo", "path"}));
            continue;
        }
        if (!*sample.beside)
            Shell("exiftool -b -AudioStream " + Quote(path) + " > " + memo);
        EXPECT_EQ(Field(r, "source"), sample.source);
        EXPECT_EQ(Field(r, "memo_file"), sample.beside);
        EXPECT_EQ(Field(r, "memo_bytes"), Shell("stat -c %s " + memo));
        EXPECT_EQ(Field(r, "memo_sha256"), Shell("sha256sum < " + memo + " | cut -d' ' -f1"));
        EXPECT_EQ(Field(r, "format"), sample.format);
        EXPECT_EQ(Field(r, "sample_rate"), Shell("sox --i -r " + memo));
        EXPECT_EQ(Field(r, "channels"), Shell("sox --i -c " + memo));
        EXPECT_NEAR(r.value("duration_s").toDouble(), std::stod(Shell("sox --i -D " + memo)), 0.0005);
        // A camera without a clock writes zeros: no time at all. The memo's own Exif chunk names its recorder
        // before the picture's Exif does.
        const std::string taken = Shell("exiftool -s3 -d %Y-%m-%dT%H:%M:%S -EXIF:DateTimeOriginal " + Quote(path));
        EXPECT_EQ(Field(r, "recorded"), taken.rfind("0000", 0) == 0 ? "" : taken);
        std::string camera = Shell("exiftool -s3 -RIFF:Make -RIFF:Model " + memo + " | paste -sd' '");
        if (camera.empty())
            camera = Shell("exiftool -s3 -EXIF:Make -EXIF:Model " + Quote(path) + " | paste -sd' '");
        EXPECT_EQ(Field(r, "camera"), camera);

        // The run writes the memo as stored, and as PCM the samples sox decodes from it (HP's short RIFF sizes
        // included).
        Shell(VOCALINE_EXTRACT " " + Quote(copy));
        EXPECT_EQ(ReadFile(copy + ".wav"), ReadFile(memo));
        Shell(VOCALINE_EXTRACT " --pcm " + Quote(copy));
        const std::string pcm = Shell("cat " + Quote(copy + ".wav"), true);
        EXPECT_EQ(pcm.substr(pcm.find("data") + 8), Shell("sox " + memo + " -t raw -e signed -b 16 -", true));
    }
}

// The picture's full date beats a memo's bare time of day; a picture with no taken date lends the record
// nothing (when its file was changed is not when the memo was recorded).
TEST(Report, RecordedIsTheFullestDateOfMemoAndPicture)
{
    const struct {
        const char* tags;
        bool memoTime;
        const char* recorded;
    } cases[] = {
        {"-DateTimeOriginal='2003:12:28 22:59:01'", true, "2003-12-28T22:59:01"},
        {"-DateTimeOriginal='2003:12:28 22:59:01'", false, "2003-12-28T22:59:01"},
        {"-ModifyDate='2004:01:02 03:04:05'", false, ""},
        {"-ModifyDate='2004:01:02 03:04:05'", true, "11:09:23"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tags) + (c.memoTime ? " with the memo's time" : ""));
        const Bytes wav = fpxrgen::MakeWav({.data = fpxrgen::Noise(512, 3), .bExifChunk = c.memoTime});
        WriteFile(dir / "pic.jpg", fpxrgen::MakeSample(fpxrgen::Layout::Hp, wav).file);
        Shell("exiftool -q -overwrite_original " + std::string(c.tags) + " " + Quote(dir / "pic.jpg"));
        const QJsonObject r = Records("--check --format=json " + Quote(dir / "pic.jpg"))[0];
        ASSERT_TRUE(r.value("memo").toBool());
        EXPECT_EQ(Field(r, "recorded"), c.recorded);
    }
}

// Names with quotes, commas and line breaks come back whole through any RFC 4180 reader (Python's here); a name
// that is not UTF-8 comes back byte for byte through path_base64.
TEST(Report, CsvAndBase64GiveBackTheExactNames)
{
    TempDir dir;
    const Bytes picture = ReadFile(DataPath("IM000101.JPG"));
    const std::vector<std::string> names = {"a,b.jpg", "say \"hi\".jpg", "two\nlines.jpg", "caf\xe9.jpg"};
    for (const std::string& name : names)
        WriteFile(dir / name, picture);
    const std::string csv = dir / "list.csv";
    Shell(std::string(VOCALINE_EXTRACT) + " --check --format=csv " + Quote(dir / names[0]) + " " + Quote(dir / names[1])
        + " " + Quote(dir / names[2]) + " > " + csv);
    const std::string text = Shell("cat " + csv, true);
    EXPECT_NE(text.find("say \"\"hi\"\".jpg\","), std::string::npos); // quoted, its quotes doubled
    EXPECT_EQ(text.rfind("path,path_base64,memo,source,memo_file,missing_memo,memo_index,memo_bytes,memo_sha256,format,"
                         "sample_rate,channels,bits,duration_s,recorded,camera,output,outcome,error\r\n",
                         0),
              0u);
    const QJsonArray rows = QJsonDocument::fromJson(QByteArray::fromStdString(Shell(
        "python3 -c 'import csv,json,sys; print(json.dumps(list(csv.reader(open(sys.argv[1], newline=\"\")))))' "
        + csv))).array();
    ASSERT_EQ(rows.size(), 4);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(rows[i].toArray().size(), 19);
        EXPECT_EQ(rows[i][0].toString().toStdString(), dir / names[static_cast<size_t>(i - 1)]);
        EXPECT_EQ(rows[i][2].toString(), "true");
    }

    const QJsonObject r = Records("--check --format=json " + Quote(dir / names[3]))[0];
    EXPECT_EQ(Field(r, "path"), dir / "caf\xef\xbf\xbd.jpg");
    EXPECT_EQ(QByteArray::fromBase64(r.value("path_base64").toString().toLatin1()).toStdString(), dir / names[3]);
    // Cells a spreadsheet would run as formulas are text; JSON keeps them.
    for (const std::string name : {"=2+3.jpg", "@A1.jpg", "-1+1.jpg", "+1.jpg", "\tx.jpg"})
        WriteFile(dir / name, picture);
    const std::string cells = Shell("cd " + Quote(dir.path()) + " && " VOCALINE_EXTRACT
                                    " --check --format=csv -- =2+3.jpg @A1.jpg -1+1.jpg +1.jpg \"$(printf '\\tx.jpg')\" | cut -d, -f1");
    EXPECT_EQ(cells, "path\n'=2+3.jpg\n'@A1.jpg\n'-1+1.jpg\n'+1.jpg\n'\tx.jpg");
    WriteFile(dir / "\xf8" "abc.jpg", picture); // base64 that starts with + stays exact
    EXPECT_EQ(Shell("cd " + Quote(dir.path()) + " && " VOCALINE_EXTRACT
                    " --check --format=csv $(printf '\\370abc.jpg') | tail -1 | cut -d, -f2,14"),
              "+GFiYy5qcGc=,5.997");
    EXPECT_EQ(Field(Records("--check --format=json " + Quote(dir / "=2+3.jpg"))[0], "path"), dir / "=2+3.jpg");
    WriteFile(dir / "back\\slash.jpg", picture);
    EXPECT_EQ(Field(Records("--check --format=json " + Quote(dir / "back\\slash.jpg"))[0], "path"), dir / "back\\slash.jpg");
}

// One record per memo extracted, with what became of it.
TEST(Report, ExtractionOutcomes)
{
    TempDir dir;
    const Bytes camera = ReadFile(DataPath("IM000101.JPG"));
    WriteFile(dir / "whole.jpg", camera);
    WriteFile(dir / "cut.jpg", Bytes(camera.begin(), camera.begin() + 10000));
    WriteText(dir / "notes.jpg", "plain text");
    WriteFile(dir / "two.jpg", fpxrgen::MakeSample(fpxrgen::Layout::TwoMemos, fpxrgen::MakeWav({.data = fpxrgen::Noise(512, 1)}),
                                                   fpxrgen::MakeWav({.data = fpxrgen::Noise(512, 2)})).file);
    const std::string files = Quote(dir / "whole.jpg") + " " + Quote(dir / "cut.jpg") + " " + Quote(dir / "notes.jpg")
        + " " + Quote(dir / "two.jpg");

    std::vector<QJsonObject> r = Records("--format=json " + files);
    ASSERT_EQ(r.size(), 5u);
    for (const auto& [i, field, value] : std::vector<std::tuple<size_t, const char*, std::string>>{
             {0, "outcome", "done"}, {0, "output", dir / "whole.jpg.wav"}, {1, "outcome", "cut-short"},
             {2, "outcome", "no-memo"}, {2, "error", "not a JPEG file"}, {3, "memo_index", "1"}, {4, "memo_index", "2"},
             {4, "output", dir / "two.jpg.2.wav"}})
        EXPECT_EQ(Field(r[i], field), value) << i << " " << field;
    EXPECT_FALSE(r[1].contains("output") || r[0].contains("memo_index")); // a lone memo has no index
    EXPECT_EQ(Field(r[4], "memo_sha256"), Shell("sha256sum < " + Quote(dir / "two.jpg.2.wav") + " | cut -d' ' -f1"));

    r = Records("--keep-partial --format=json " + Quote(dir / "cut.jpg"));
    EXPECT_EQ(Field(r[0], "outcome"), "partial");
    WriteFile(dir / "blocked.jpg", camera);
    MakeDir(dir / "blocked.jpg.wav");
    r = Records("--format=json " + Quote(dir / "blocked.jpg"));
    EXPECT_EQ(Field(r[0], "outcome"), "failed");
    EXPECT_EQ(Field(r[0], "error").rfind("could not create the output file: ", 0), 0u);

    // A memo the camera named but that is gone: named in both formats, and no-memo to the extraction; --check's
    // rows still say No.
    WriteFile(dir / "minolta.jpg", PictureNamingSound("PICT0057.WAV"));
    const std::string minolta = Quote(dir / "minolta.jpg");
    for (const char* args : {"--check --format=json ", "--format=json "}) {
        r = Records(args + minolta);
        EXPECT_EQ(Field(r[0], "memo") + Field(r[0], "missing_memo") + Field(r[0], "outcome"),
                  args[2] == 'c' ? "falsePICT0057.WAV" : "falsePICT0057.WAVno-memo");
    }
    EXPECT_EQ(Shell(VOCALINE_EXTRACT " --check --format=csv " + minolta + " | tail -1 | cut -d, -f3-7"),
              "false,,,PICT0057.WAV,");
    EXPECT_EQ(Shell(VOCALINE_EXTRACT " --check " + minolta), dir / "minolta.jpg\tNo");

    // The camera of a memo's own Exif chunk, without the camera's padding.
    WriteFile(dir / "padded.jpg",
              fpxrgen::MakeSample(fpxrgen::Layout::Hp, fpxrgen::MakeWav({.data = fpxrgen::Noise(512, 3), .bExifChunk = true})).file);
    EXPECT_EQ(Field(Records("--check --format=json " + Quote(dir / "padded.jpg"))[0], "camera"), "HP HP 618");
    EXPECT_NE(Shell(VOCALINE_EXTRACT " --check --format=csv " + Quote(dir / "padded.jpg"), true).find(",HP HP 618,"),
              std::string::npos);

    // A memo claiming a gigabyte is named, not read.
    memogen::WriteSparseTrailerMemo(dir / "big.jpg", uint64_t{1} << 30);
    r = Records("--check --format=json " + Quote(dir / "big.jpg"));
    EXPECT_EQ(Field(r[0], "source") + ": " + Field(r[0], "error"), "trailer: sound data larger than 256 MB");
    EXPECT_FALSE(r[0].contains("memo_sha256"));
    r = Records("--format=json " + Quote(dir / "big.jpg"));
    EXPECT_EQ(Field(r[0], "outcome") + ": " + Field(r[0], "error"), "failed: sound data larger than 256 MB, no output file written");
}

} // namespace
