// The window as a photo tool: the preview, extraction in the background, Escape and the keys, and the first
// start (the window's remembered shape is tested with the remembered form, the layout in layout_tests.cpp).

#include <QProgressBar>
#include <QSlider>
#include <QSettings>

#include "app/mainapp.h"
#include "guikit.h"
#include "ui/foldbutton.h"
#include "ui/memopanel.h"

namespace {

class PhotoWindow : public WindowTest {
protected:
    // Selects the row of name and waits until the preview shows it.
    void Preview(const std::string& name)
    {
        CListView* view = shown.List(IDC_RESULTS);
        for (int row = 0; row < shown.Rows(); ++row) {
            if (shown.Row(row)[0] == name)
                view->setCurrentIndex(view->ViewIndex(row));
        }
        auto* pane = dlg.findChild<CPreviewPane*>();
        ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Shows(dir / name); }, 10000)) << name;
    }
};

TEST_F(PhotoWindow, PreviewShowsThePictureUprightAndItsMemo)
{
    // A 640x480 picture whose first Exif says it stands turned a quarter (orientation 6).
    const Bytes exif = {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0};
    const Bytes upright = ReadFile(DataPath("IM000102.JPG"));
    WriteFile(dir / "turned.jpg", JpegBuilder().Segment(0xE1, exif).Raw(Bytes(upright.begin() + 2, upright.end())).bytes());
    Camera("memo.jpg");
    Camera("quiet.jpg", "IM000102.JPG");
    Camera("hp.jpg", "real/hp-photosmart-433/IM000959.JPG");
    Camera("P1010006.JPG", "real/olympus-c3000/P1010006.JPG");
    Camera("P1010006.WAV", "real/olympus-c3000/P1010006.WAV");
    Camera("short.jpg", "IM000102.JPG"); // and a memo beside it just under a second
    WriteFile(dir / "short.wav", fpxrgen::MakeWav({.nFormatTag = 1, .nSampleRate = 1000, .nBitsPerSample = 8,
                                                   .nBlockAlign = 1, .data = fpxrgen::Noise(940, 1)}));
    WriteText(dir / "broken.jpg", "not a picture");
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
    shown.Search(dir.path());
    auto* picture = dlg.findChild<QLabel*>("picture");
    auto* memo = dlg.findChild<CMemoPanel*>();
    ASSERT_TRUE(picture && memo);
    EXPECT_EQ(picture->accessibleName(), "Picture"); // what a screen reader says
    EXPECT_EQ(memo->accessibleName(), "Memo");
    // The facts, line by line, each label named by its text for a screen reader; and the time.
    const auto facts = [&] {
        QStringList lines;
        for (QLabel* label : memo->findChildren<QLabel*>()) {
            EXPECT_EQ(label->accessibleName(), label->text()); // the time's too
            if (!label->text().isEmpty() && !label->text().contains(" / "))
                lines << label->text();
        }
        return lines.join(u'|').toStdString();
    };
    const auto time = [&] {
        for (QLabel* label : memo->findChildren<QLabel*>())
            if (label->text().contains(" / "))
                return label->text().toStdString();
        return std::string();
    };
    auto* play = memo->findChild<QPushButton*>();

    Preview("turned.jpg");
    ASSERT_FALSE(picture->pixmap().isNull());
    EXPECT_GT(picture->pixmap().height(), picture->pixmap().width());
    EXPECT_LE(picture->pixmap().height(), picture->height() * picture->devicePixelRatioF());
    EXPECT_EQ(facts(), "No memo");
    EXPECT_FALSE(play->isEnabled());

    // The date taken (in the locale's words: the translation tests), the camera without its maker twice; a
    // camera without a clock gives no date; a memo under ten seconds counts tenths.
    Preview("hp.jpg");
    EXPECT_TRUE(facts().starts_with("Voice memo, 11 seconds|") && facts().find("2021") != std::string::npos
                && facts().ends_with(" \u00B7 hp PhotoSmart 43x series|inside the picture")) << facts();
    EXPECT_EQ(time(), "0:00 / 0:11");
    Preview("P1010006.JPG");
    EXPECT_EQ(facts(), "Voice memo, 4 seconds|OLYMPUS OPTICAL CO.,LTD SX353|beside it: P1010006.WAV");

    Preview("memo.jpg");
    EXPECT_EQ(time(), "0:00.0 / 0:06.0");
    // Right and Left step a second along the memo, before it plays too, and stop at its end.
    auto* position = memo->findChild<QSlider*>();
    EXPECT_EQ(position->accessibleName(), "Position");
    position->setFocus();
    for (int key = 0; key < 12; ++key)
        QTest::keyClick(position, key < 8 ? Qt::Key_Right : Qt::Key_Left);
    EXPECT_EQ(time(), "0:02.0 / 0:06.0");
    // The next memo starts at its beginning; the slider spans it whole.
    Preview("short.jpg");
    EXPECT_EQ(facts().substr(0, facts().find('|')), "Voice memo, under a second");
    EXPECT_EQ(time(), "0:00.0 / 0:00.9");
    EXPECT_EQ(position->maximum(), 1);
    Preview("memo.jpg");
    EXPECT_EQ(play->accessibleName(), "Play");
    play->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !services.playedData.empty(); }));
    EXPECT_EQ(services.playedData[0], ReadFile(DataPath("expected/IM000101.JPG.wav")));

    for (const char* unreadable : {"broken.jpg", "pipe.jpg"}) {
        Preview(unreadable);
        EXPECT_EQ(picture->text(), "No preview") << unreadable;
        EXPECT_EQ(picture->accessibleDescription(), "No preview");
    }
    // A WAV put beside a picture is seen at its next selection, and so is its going; a screen reader hears
    // which picture is shown.
    Preview("quiet.jpg");
    EXPECT_EQ(facts(), "No memo");
    EXPECT_EQ(picture->accessibleDescription(), "quiet.jpg");
    CopySample(dir / "quiet.wav", "real/olympus-c3000/P1010006.WAV");
    Preview("memo.jpg");
    Preview("quiet.jpg");
    EXPECT_TRUE(facts().ends_with("beside it: quiet.wav")) << facts();
    std::filesystem::remove(dir / "quiet.wav");
    Preview("memo.jpg");
    Preview("quiet.jpg");
    EXPECT_EQ(facts(), "No memo");

    // A picture seen before a narrower pane is fitted again when it comes back, not shown at its old size.
    auto* splitter = dlg.findChild<QSplitter*>();
    splitter->setSizes({150, splitter->width() - 150});
    QApplication::processEvents();
    Preview("memo.jpg");
    const int wide = picture->pixmap().width();
    Preview("quiet.jpg");
    splitter->setSizes({splitter->width() - 150, 150});
    QApplication::processEvents();
    Preview("memo.jpg");
    EXPECT_LT(picture->pixmap().width(), wide);
    EXPECT_LE(picture->pixmap().width(), picture->width() * picture->devicePixelRatioF());
    splitter->setSizes({150, splitter->width() - 150}); // and fitted again where it stands once the divider rests
    EXPECT_TRUE(QTest::qWaitFor([&] { return picture->pixmap().width() == wide; }));
    // A memo cut short is not offered for playing.
    const Bytes whole = ReadFile(DataPath("IM000101.JPG"));
    WriteFile(dir / "cut.jpg", Bytes(whole.begin(), whole.begin() + 10000));
    shown.Search(dir.path());
    Preview("cut.jpg");
    EXPECT_EQ(facts(), "No memo");
    EXPECT_FALSE(play->isEnabled());
}

TEST_F(PhotoWindow, ExtractionRunsInTheBackgroundAndCancelLeavesWholeWavs)
{
    constexpr int kFiles = 400;
    for (int i = 0; i < kFiles; ++i)
        Camera("p" + std::to_string(1000 + i) + ".jpg");
    shown.ListAll(dir.path());
    QTest::mouseClick(shown.Button(IDC_EXTRACT), Qt::LeftButton);
    auto* progress = dlg.findChild<QProgressBar*>();
    ASSERT_TRUE(dlg.IsExtracting());
    EXPECT_FALSE(shown.Button(IDOK)->isEnabled());
    EXPECT_TRUE(progress->isVisible());
    while (dlg.IsExtracting() && progress->value() < 1)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(progress->accessibleName() == "Progress" && progress->text().endsWith(" of 400")) << progress->text().toStdString();
    QTest::keyClick(shown.List(IDC_RESULTS), Qt::Key_Escape);
    shown.WaitForExtraction();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(shown.Button(IDOK)->isEnabled());

    int wavs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename();
        if (name.ends_with(".jpg"))
            continue;
        ASSERT_TRUE(name.ends_with(".jpg.wav")) << name; // no temporary left
        EXPECT_EQ(ReadFile(entry.path()), ReadFile(DataPath("expected/IM000101.JPG.wav")));
        ++wavs;
    }
    EXPECT_LT(wavs, kFiles);
    EXPECT_EQ(shown.LogRows().back(), std::to_string(wavs) + " memos written, 0 without a memo, 0 failed, cancelled");

    // The counts, by memo (a picture may hold two) and by file; a memo cut short fails. A failure first (a
    // subfolder's rows come first) leaves the later files their own counts; the run waits for each message box.
    TempDir mixed;
    MakeDir(mixed / "sub");
    WriteText(mixed / "sub/gone.jpg", "gone soon");
    const Bytes memo = fpxrgen::MakeWav({.data = fpxrgen::Noise(512, 1)});
    WriteFile(mixed / "two.jpg", fpxrgen::MakeSample(fpxrgen::Layout::TwoMemos, memo, memo).file);
    const Bytes whole = ReadFile(DataPath("IM000101.JPG"));
    WriteFile(mixed / "cut.jpg", Bytes(whole.begin(), whole.begin() + 10000));
    WriteText(mixed / "notes.jpg", "hi");
    shown.ListAll(mixed.path());
    std::filesystem::remove(mixed / "sub/gone.jpg");
    shown.Click(IDC_EXTRACT);
    EXPECT_EQ(services.boxes, (std::vector<std::string>{"Error could not open file\n\n" + mixed / "sub/gone.jpg"
                                                            + "\nNo such file or directory",
                                                        "Error sound data in file is cut short\n" + mixed / "cut.jpg"}));
    EXPECT_EQ(shown.LogRows().back(), "2 memos written, 1 without a memo, 2 failed");

    // Closing the window mid-run stops the run, then closes.
    shown.ListAll(dir.path());
    QTest::mouseClick(shown.Button(IDC_EXTRACT), Qt::LeftButton);
    EXPECT_EQ(progress->value(), 0); // not where the last run ended
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    shown.WaitForExtraction();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(shown.LogRows().back().ends_with(", cancelled"));
}

// Escape stops what runs and nothing else (Ctrl+Q is the app test's). F5 or Enter searches, hits come in name
// order and the rows take the keyboard, Ctrl+A and Ctrl+C copy the paths in the order shown, Shift+F10 opens
// the row menu, and an open nobody can serve says so.
TEST_F(BigTree, EscapeCancelsOnlyAndTheKeysReachTheRows)
{
    shown.SetText(IDC_LOOKIN, tree->path());
    QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());

    Soon([&] {
        QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Return); // no second search
        QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Escape);
    });
    QTest::keyClick(&dlg, Qt::Key_F5);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_LT(shown.Rows(), kMany);
    EXPECT_EQ(shown.Text(IDC_STATUS), "Search cancelled, " + std::to_string(shown.Rows()) + " items found");

    shown.SetText(IDC_FILEMASK, "f1?.jpg");
    QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Return);
    ASSERT_EQ(shown.Rows(), 10);
    CListView* list = shown.List(IDC_RESULTS);
    EXPECT_EQ(dlg.focusWidget(), list);
    std::string found, shownOrder;
    for (int row = 0; row < 10; ++row) {
        found += shown.Row(row)[0] + " ";
        shownOrder = *tree / ("f1" + std::to_string(row) + ".jpg") + (row ? "\n" : "") + shownOrder;
    }
    EXPECT_EQ(found, "f10.jpg f11.jpg f12.jpg f13.jpg f14.jpg f15.jpg f16.jpg f17.jpg f18.jpg f19.jpg ");
    list->sortByColumn(0, Qt::DescendingOrder);
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), shownOrder);

    list->setCurrentIndex(list->ViewIndex(0));
    services.openAnswer = false;
    ChooseSoon("&Open");
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(services.opened, (std::vector<std::string>{*tree / "f10.jpg"}));
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_NE(services.boxes[0].find(*tree / "f10.jpg"), std::string::npos);
}

// A first start, with nothing remembered: "Look in" is the Pictures folder (home without one), subfolders and
// the sound check are on, the mask takes both JPEG endings and FlashPix files; the options stay open until the
// user's first search folds them, which is remembered.
TEST(FirstUse, PicturesFolderSubfoldersAndSoundCheck)
{
    RecordedServices services;
    TempDir home, config;
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    QSettings empty(QString::fromStdString(config / "vocaline.conf"), QSettings::IniFormat);
    for (const bool pictures : {false, true}) {
        if (pictures)
            MakeDir(home / "Pictures");
        CMainDlg dlg;
        dlg.RestoreForm(LoadForm(empty));
        dlg.Create();
        EXPECT_EQ(dlg.GetDlgItemText(IDC_LOOKIN), pictures ? home / "Pictures/" : home.path());
        for (const auto& [id, checked] : {std::pair{IDC_SUBFOLDERS, 1}, {IDC_CHECKSOUND, 1}, {IDC_ONLYWITHSOUND, 0}})
            EXPECT_EQ(dlg.IsDlgButtonChecked(id), checked) << id;
        EXPECT_EQ(dlg.GetDlgItemText(IDC_FILEMASK), "*.jpg;*.jpeg;*.fpx");
        EXPECT_FALSE(dlg.GetDlgItem(IDC_SIZEMAX)->isEnabled()); // no size range yet
        auto* bar = dlg.findChild<CSearchBar*>();
        EXPECT_FALSE(bar->IsFolded());
        if (!pictures)
            continue;
        for (const char* name : {"a.jpeg", "b.FPX", "c.JPG", "d.png"})
            WriteFile(home / ("Pictures/" + std::string(name)), Bytes(1, 0));
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        const auto folds = dlg.findChildren<CFoldButton*>();
        EXPECT_EQ(folds.value(0)->accessibleName() + "," + folds.value(1)->accessibleName(), "Search options,Activity");
        QTest::keyClick(&dlg, Qt::Key_F5); // a search by key folds them as the button does
        EXPECT_EQ(qobject_cast<CListView*>(dlg.GetDlgItem(IDC_RESULTS))->Model()->Count(), 3);
        EXPECT_EQ(dlg.focusWidget(), dlg.GetDlgItem(IDC_RESULTS)); // with a first row current, none picked yet
        EXPECT_EQ(dlg.findChild<CPreviewPane*>()->Path(), "");
        EXPECT_EQ(dlg.findChild<QLabel*>("picture")->accessibleDescription(),
                  "Select a picture to see it and hear its memo");
        QToolButton* fold = bar->OptionsButton();
        const auto open = [&] { return dlg.GetDlgItem(IDC_SUBFOLDERS)->isVisible() && fold->arrowType() == Qt::DownArrow; };
        EXPECT_TRUE(bar->IsFolded() && !open() && fold->arrowType() == Qt::RightArrow);
        EXPECT_EQ(dlg.GetWindowMemory().bOptionsFolded, true);
        fold->click(); // opened again on purpose: searches leave it open
        QTest::mouseClick(qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDOK)), Qt::LeftButton);
        EXPECT_TRUE(!bar->IsFolded() && open());
    }
    setenv("HOME", oldHome.c_str(), 1);
}

} // namespace
