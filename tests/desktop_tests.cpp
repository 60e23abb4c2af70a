// The program as a German or French desktop user meets it: its texts in the user's language, the file manager
// asked to show a file.
#include <QAbstractButton>
#include <QApplication>
#include <QDBusConnection>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QToolButton>

#include "app/mainapp.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "res/ids.h"
#include "testkit.h"
#include "ui/aboutdlg.h"
#include "ui/maindlg.h"
#include "ui/resultslist.h"
#include "ui/searchbar.h"
#include "ui/translate.h"

TEST(Translations, LogRowsAndTheSoundTooltipKeepPathBytes)
{
    const struct {
        CString row, shown;
    } cases[] = {
        {"Output file: /p/\xff.jpg.wav Done", "Ausgabedatei: /p/\xff.jpg.wav Fertig"},
        {"Output file: /p/a.jpg.wav Partial", "Ausgabedatei: /p/a.jpg.wav Unvollständig"},
        {"Sound format not decoded, written as stored", "Tonformat nicht dekodiert, unverändert geschrieben"},
        {"Error sound too long for a PCM WAV file, no output file written",
         "Fehler: Ton zu lang für eine PCM-WAV-Datei, keine Ausgabedatei geschrieben"},
        {"/p/Output file: \xff", "/p/Output file: \xff"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrExtractText(c.row), c.shown);
    EXPECT_EQ(TrMemoPlace("beside it: \xff.WAV"), "daneben: \xff.WAV");
    EXPECT_EQ(TrMemoPlace("inside the picture"), "im Bild");
    // The Sound tooltip, in German words and numbers.
    const TempDir dir;
    const Bytes wav = fpxrgen::MakeWav({.nFormatTag = 7, .nChannels = 2, .nSampleRate = 11025, .nBitsPerSample = 8,
                                        .nBlockAlign = 2, .data = fpxrgen::Noise(22050 * 3, 6), .bExifChunk = true});
    WriteFile(dir / "p.jpg", fpxrgen::MakeSample(fpxrgen::Layout::Hp, wav).file);
    EXPECT_EQ(DescribeMemo(dir / "p.jpg"), "Sprachnotiz, 3 Sekunden\n11:09 \u00B7 HP 618\nim Bild\nmu-law, 11.025 Hz, Stereo");
}

// The labels and buttons, at the window's first size, that do not show their whole text: too narrow or too low,
// or lying over a neighbour placed by hand.
QStringList CutShort(QWidget& window)
{
    window.show();
    QCoreApplication::processEvents();
    QStringList cut;
    std::vector<QWidget*> placed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(widget);
        if (!widget->isVisibleTo(&window) || !(label || qobject_cast<QAbstractButton*>(widget)))
            continue;
        bool fits = label && label->wordWrap() ? label->heightForWidth(widget->width()) <= widget->height()
                                               : widget->sizeHint().width() <= widget->width();
        for (QWidget* other : placed)
            fits = fits && !(other->parentWidget() == widget->parentWidget() && !widget->parentWidget()->layout()
                             && other->geometry().intersects(widget->geometry()));
        if (!fits)
            cut << widget->property("text").toString();
        placed.push_back(widget);
    }
    window.close();
    return cut;
}

// main() starts the program under LANG=de_DE.UTF-8: German first, then the translation follows the locale.
TEST(Translations, FollowTheLocaleAndFitTheirControls)
{
    const std::pair<QLocale, const char*> locales[] = {{QLocale::system(), "Suchen"},
                                                       {QLocale(QLocale::French, QLocale::France), "Rechercher"},
                                                       {QLocale(QLocale::English, QLocale::UnitedStates), "Search"}};
    for (const auto& [locale, search] : locales) {
        QLocale::setDefault(locale);
        InstallTranslations();
        CMainDlg dlg;
        dlg.Create();
        EXPECT_EQ(dlg.GetDlgItemText(IDOK), search);
        EXPECT_EQ(CutShort(dlg).join(" | ").toStdString(), "") << locale.name().toStdString();
        CAboutDlg about;
        about.Create();
        EXPECT_EQ(CutShort(about).join(" | ").toStdString(), "") << locale.name().toStdString();
        // A memo's date taken in the locale's long form, its rate in its numbers.
        const QStringList facts = ToDisplay(DescribeMemo(DataPath("real/hp-photosmart-433/IM000959.JPG"))).split('\n');
        EXPECT_EQ(facts.value(1), locale.toString(QDate(2021, 11, 16), QLocale::LongFormat) + " "
                                      + locale.toString(QTime(9, 4, 4), QLocale::ShortFormat) + " \u00B7 hp PhotoSmart 43x series");
        EXPECT_TRUE(facts.value(3).startsWith("IMA ADPCM, " + locale.toString(22050) + " Hz, ")) << facts.join('|').toStdString();
        if (locale.language() == QLocale::German) {
            EXPECT_EQ(dlg.findChild<CSearchBar*>()->OptionsButton()->text(), "Suchoptionen");
            EXPECT_EQ(about.windowTitle(), "Über Vocaline");
            // Qt's own texts come with the system's Qt translations.
            EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
        }
    }
    QLocale::setDefault(QLocale::system());
    InstallTranslations();
}

// A file manager on the session bus, as Dolphin or Nemo offers one.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown += uris; }

public:
    QStringList shown;
};

// Run on a private bus (see gui_tests.cmake): with no file manager on the bus the folder opens; with one, it is
// asked to show the file, and nothing else opens.
TEST(ShowInFolder, AsksTheFileManagerElseOpensTheFolder)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        GTEST_SKIP() << "needs a private session bus";
    std::vector<CString> opened;
    services::SetShellOpen([&](const CString& path) {
        opened.push_back(path);
        return true;
    });
    services::ShowInFolder("/pictures/IM 101.JPG");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.empty(); }, 5000));
    FakeFileManager manager;
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/FileManager1", &manager, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.FileManager1"));
    services::ShowInFolder("/pictures/IM 101.JPG");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.shown.isEmpty(); }, 5000));
    EXPECT_EQ(manager.shown, QStringList{"file:///pictures/IM%20101.JPG"});
    QTest::qWait(100); // its answer has come: the folder is not opened as well
    services::SetShellOpen(nullptr);
    EXPECT_EQ(opened, std::vector<CString>{"/pictures/"});
}

// A stand-in given back restores the real service: without a sound player nothing claims to play.
TEST(Services, TheRealOneComesBack)
{
    services::SetPlaySound([](const CString&) { return true; });
    services::SetPlaySound(nullptr);
    EXPECT_FALSE(services::PlaySound("/pictures/memo.wav"));
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("LANG", "de_DE.UTF-8", 1);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        unsetenv(name);
    // Never the user's own file manager.
    if (!getenv("VOCALINE_PRIVATE_BUS"))
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    QApplication app(argc, argv);
    InstallTranslations();
    return RUN_ALL_TESTS();
}

#include "desktop_tests.moc"
