// Extract Sound and Extract and play as the window runs them: which rows they take and what they play. The run
// itself is tested in audio_tests.

#include <QContextMenuEvent>
#include <QMessageBox>
#include <sys/mount.h>

#include <atomic>

#include "bench/memogen.h"
#include "bench/picturebomb.h"
#include "guikit.h"

namespace {

using ExtractWindow = WindowTest;

std::string Summary(int written, int without, int failed)
{
    return std::to_string(written) + " memos written, " + std::to_string(without) + " without a memo, "
         + std::to_string(failed) + " failed";
}

// Each press with its rows: every picture is extracted and the first plays the WAV this run wrote, never one
// left from an earlier run; a WAV row plays as it is, with no extraction; nothing selected is said so.
TEST_F(ExtractWindow, ExtractAndPlayPlaysOnlyWhatThisRunWrote)
{
    shown.Click(IDC_EXTRACT);
    shown.Click(IDC_EXTRACTPLAY);
    shown.Click(IDC_EXTRACTTO); // no folder asked for first
    EXPECT_EQ(services.boxes, (std::vector<std::string>{"Error No items were selected!",
                                                        "Please select a item in the Search results list",
                                                        "Error No items were selected!"}));
    EXPECT_TRUE(services.folderStart.empty());
    const std::string first = Camera("sub/pic.jpg"), second = Camera("pic.jpg"); // a subfolder's rows come first
    auto* activity = dlg.findChild<CActivityPanel*>();
    EXPECT_FALSE(activity->IsOpen()); // the log opens when a run writes to it, at least three rows high
    EXPECT_GE(shown.List(IDC_LOG)->minimumHeight(), 3 * shown.List(IDC_LOG)->fontMetrics().height());
    Camera("silent.jpg", "IM000102.JPG");
    WriteText(dir / "silent.jpg.wav", "an earlier wav");
    WriteText(dir / "memo.WAV", "RIFF");
    WriteText(dir / "mywav", "RIFF");
    const struct {
        const char* name;
        std::vector<std::string> log, played;
    } cases[] = {
        {"pic.jpg",
         {first, "Output file: " + first + ".wav Done", second, "Output file: " + second + ".wav Done", Summary(2, 0, 0),
          "Playing " + first + ".wav"},
         {first + ".wav"}},
        {"silent.jpg",
         {dir / "silent.jpg", "No Audio in file....................................................", Summary(0, 1, 0)},
         {}},
        {"memo.WAV;silent.jpg", {"Playing " + dir / "memo.WAV"}, {dir / "memo.WAV"}}, // the first row only
        {"mywav", {"Playing " + dir / "mywav"}, {dir / "mywav"}},
    };
    for (const auto& c : cases) {
        services.played.clear();
        shown.SetText(IDC_FILEMASK, c.name);
        shown.ListAll(dir.path());
        shown.Click(IDC_EXTRACTPLAY);
        EXPECT_EQ(shown.LogRows(), c.log) << c.name;
        EXPECT_EQ(services.played, c.played) << c.name;
        EXPECT_TRUE(activity->IsOpen());
    }
    EXPECT_FALSE(Exists(dir / "mywav.wav"));

    // A first row without a memo plays nothing, whatever the rows after it wrote; nor does a run cancelled
    // (here at its message box).
    Camera("a_quiet.jpg", "IM000102.JPG");
    Camera("q_gone.jpg");
    services.played.clear();
    shown.SetText(IDC_FILEMASK, "*.jpg");
    shown.ListAll(dir.path(), false);
    shown.Click(IDC_EXTRACTPLAY);
    std::filesystem::remove(dir / "a_quiet.jpg");
    shown.ListAll(dir.path(), false);
    std::filesystem::remove(dir / "q_gone.jpg");
    services::SetChoiceBox([&](QWidget*, const CString&, const std::vector<services::Choice>&) {
        QTest::keyClick(&dlg, Qt::Key_Escape);
        return services::Choice::Ok;
    });
    shown.Click(IDC_EXTRACTPLAY);
    EXPECT_TRUE(services.played.empty());
    EXPECT_TRUE(shown.LogRows().back().ends_with(", cancelled"));
}

// The real box: a failure's warns, a question asks; Enter takes the first button; Escape OK, or else No.
TEST(ChoiceBox, EnterTakesTheFirstEscapeTheSafeAnswer)
{
    using services::Choice;
    const struct {
        std::vector<Choice> buttons;
        Qt::Key key;
        Choice answer;
    } cases[] = {
        {{Choice::Ok, Choice::SkipAll}, Qt::Key_Return, Choice::Ok},
        {{Choice::Ok, Choice::SkipAll}, Qt::Key_Escape, Choice::Ok},
        {{Choice::Yes, Choice::No}, Qt::Key_Return, Choice::Yes},
        {{Choice::Yes, Choice::No}, Qt::Key_Escape, Choice::No},
    };
    for (const auto& c : cases) {
        QStringList seen;
        Soon([&seen, key = c.key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            seen << (box->icon() == QMessageBox::Warning ? "warning" : "question");
            for (QAbstractButton* button : box->buttons()) // as shown, and as a screen reader says it
                seen << button->text().remove(u'&') << QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
            QTest::keyClick(box, key);
        }, 50);
        EXPECT_EQ(services::ChoiceBox(nullptr, "A text", c.buttons), c.answer) << c.key;
        seen.sort();
        seen.removeDuplicates();
        EXPECT_EQ(seen.join(u','), c.buttons[0] == Choice::Ok ? "OK,Skip All,warning" : "No,Yes,question");
    }
}

// A box per failure until the user says Skip All; from then on the failures go only to the log, each with its
// reason, and to the summary.
TEST_F(ExtractWindow, SkipAllLeavesLaterFailuresToTheLog)
{
    for (int i = 0; i < 20; ++i)
        Camera("gone" + std::to_string(100 + i) + ".jpg");
    const std::string blocked = Camera("zz.jpg"); // last, its WAV's name taken by a folder
    MakeDir(blocked + ".wav/in");
    shown.ListAll(dir.path());
    for (int i = 0; i < 20; ++i)
        std::filesystem::remove(dir / ("gone" + std::to_string(100 + i) + ".jpg"));
    services.choices = {services::Choice::SkipAll};
    shown.Click(IDC_EXTRACT);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0], "Error could not open file\n\n" + dir / "gone100.jpg" + "\nNo such file or directory");
    const std::vector<std::string> log = shown.LogRows();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Error could not open file\nNo such file or directory"), 20);
    // A failure with a row of its own: the reason goes on that row.
    EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
              (std::vector<std::string>{blocked, "Error cant open/create output file\nIs a directory", blocked + ".wav",
                                        Summary(0, 0, 21)}));
}

// A read-only view of a folder for the test's length, by a bind mount; not ready where the system allows no
// mount.
struct ReadOnlyView {
    std::string view;
    bool ready = false;
    ReadOnlyView(const std::string& folder, const std::string& at) : view(at)
    {
        MakeDir(view);
        ready = ::mount(folder.c_str(), view.c_str(), nullptr, MS_BIND, nullptr) == 0
             && ::mount(nullptr, view.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyView() { ::umount2(view.c_str(), MNT_DETACH); }
};

// Extract to… writes each memo at its picture's path below "Look in" in the folder chosen; a folder that cannot
// be written offers the same, once per run, and Extract and play plays from where the run wrote.
TEST_F(ExtractWindow, ExtractToKeepsTheTreeAndRescuesReadOnlyFolders)
{
    const Bytes expected = ReadFile(DataPath("expected/IM000101.JPG.wav"));
    TempDir out, rescue;
    Camera("pics/2003/a.jpg");
    Camera("pics/b.jpg");
    shown.ListAll(dir / "pics");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(shown.Button(IDC_EXTRACTTO))->text(QAccessible::Name),
              "Extract to…");
    services.folderAnswer = out.path();
    QTest::keyClick(&dlg, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    shown.WaitForExtraction();
    EXPECT_EQ(ReadFile(out / "2003/a.jpg.wav"), expected);
    EXPECT_EQ(ReadFile(out / "b.jpg.wav"), expected);
    EXPECT_FALSE(Exists(dir / "pics/b.jpg.wav"));
    EXPECT_TRUE(services.boxes.empty());

    const ReadOnlyView view(dir / "pics", dir / "view");
    if (!view.ready)
        GTEST_SKIP() << "no mount allowed here: a read-only folder is tested by the command line's tests";
    shown.ListAll(dir / "view");
    services.folderAnswer = rescue.path();
    shown.Click(IDC_EXTRACTPLAY); // Yes, as Enter answers
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0], "The folder " + dir / "view/" + " cannot be written.\nExtract to another folder?");
    EXPECT_EQ(ReadFile(rescue / "b.jpg.wav"), expected);
    EXPECT_EQ(ReadFile(rescue / "2003/a.jpg.wav"), expected);
    EXPECT_EQ(services.played, std::vector<std::string>{rescue / "2003/a.jpg.wav"});
    EXPECT_EQ(services.folderStart, out.path()); // where the last run went
}

// The rows' context menu, opened with the Menu key on the current row.
class RowMenu : public ExtractWindow {
protected:
    void Choose(int row, const QString& entry)
    {
        CListView* view = shown.List(IDC_RESULTS);
        view->setCurrentIndex(view->model()->index(row, 0));
        ChooseSoon(entry);
        QContextMenuEvent press(QContextMenuEvent::Keyboard, QPoint(), view->mapToGlobal(QPoint()));
        QApplication::sendEvent(view->viewport(), &press);
        shown.WaitForExtraction();
    }
};

// Play reads the memo from the picture and writes nothing, so a memo in a folder nobody may write to plays all
// the same.
TEST_F(RowMenu, PlayWritesNothingAndTheExtractionsTakeTheirOptions)
{
    const std::string picture = Camera("IM000101.JPG");
    shown.Search(dir.path());
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    Choose(0, "&Play");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !services.playedData.empty(); }));
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(services.playedData[0], ReadFile(DataPath("expected/IM000101.JPG.wav")));
    EXPECT_FALSE(Exists(picture + ".wav"));
    EXPECT_TRUE(services.boxes.empty());

    shown.Select({0});
    Choose(0, "Extract as PCM &WAV");
    const Bytes pcm = ReadFile(picture + ".wav");
    EXPECT_EQ(pcm[20], 1); // format tag: PCM
    Choose(0, "Open containing &folder");
    EXPECT_EQ(services.shownInFolder, std::vector<std::string>{picture});
    Choose(0, "&Play"); // the log shows this play alone
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.LogRows() == std::vector<std::string>{"Playing " + picture}; }));
}

// Hovering, selecting and playing hostile rows never holds the window: a trailer claiming a gigabyte is named,
// not read; a picture bomb is not decoded; a FIFO is never opened, so its waiting writer stays waiting.
TEST_F(RowMenu, HostileRowsNeverHoldTheWindow)
{
    memogen::WriteSparseTrailerMemo(dir / "big.jpg", uint64_t{1} << 30);
    const QByteArray bomb = PictureBomb();
    WriteFile(dir / "bomb.jpg", Bytes(bomb.begin(), bomb.end()));
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
    std::atomic<bool> released = false;
    std::thread writer([&] {
        const int fd = ::open((dir / "pipe.jpg").c_str(), O_WRONLY | O_CLOEXEC);
        released = true;
        ::close(fd);
    });
    if (!shown.Button(IDC_CHECKSOUND)->isChecked())
        shown.Click(IDC_CHECKSOUND);
    shown.Search(dir.path());
    ASSERT_EQ(shown.Rows(), 3);
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    probe.start(1);
    CListView* view = shown.List(IDC_RESULTS);
    auto* pane = dlg.findChild<CPreviewPane*>();
    for (int row = 0; row < 3; ++row) {
        const std::string path = shown.RowPath(row);
        view->setCurrentIndex(view->model()->index(row, 0));
        EXPECT_TRUE(QTest::qWaitFor([&] { return pane->Shows(path); }, 10000)) << path;
        EXPECT_EQ(pane->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)->text(), "No preview") << path;
        view->model()->index(row, 4).data(Qt::ToolTipRole);
        Choose(row, "&Play");
        EXPECT_TRUE(QTest::qWaitFor([&] { return services.boxes.size() == static_cast<size_t>(row) + 1; })) << path;
    }
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(shown.Row(row)[4], shown.Row(row)[0] == "big.jpg" ? "Yes" : "No");
    EXPECT_LT(longest, 1000);
    EXPECT_FALSE(released);
    ::close(::open((dir / "pipe.jpg").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    writer.join();
}

} // namespace
