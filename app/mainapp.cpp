#include "app/mainapp.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>
#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "platform/qt/services.h"
#include "platform/qt/soundplayer.h"
#include "platform/qt/text.h"
#include "ui/maindlg.h"

CMainApp theApp;

namespace {

// True when the settings file and the lock Qt takes beside it while saving
// (vocaline.conf.lock) are regular files or absent: a FIFO under either
// name would hold the window for good. Qt's temporary file is created new
// and exclusively, so nothing can be put in its place.
bool SettingsFilesUsable()
{
    const QString file
        = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/vocaline/vocaline.conf";
    for (const QString& name : {file, file + ".lock"}) {
        const QByteArray path = QFile::encodeName(name);
        struct stat info {};
        if (::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
            std::fprintf(stderr, "vocaline: %s is not a regular file; the settings are neither read nor saved\n",
                         path.constData());
            return false;
        }
    }
    return true;
}

// The form between runs, in the user's configuration folder
// ($XDG_CONFIG_HOME/vocaline/vocaline.conf); none when its files cannot be
// used (see above).
QSettings* Settings()
{
    static const std::unique_ptr<QSettings> settings = []() -> std::unique_ptr<QSettings> {
        if (!SettingsFilesUsable())
            return nullptr;
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "vocaline", "vocaline");
    }();
    return settings.get();
}

} // namespace

CFormMemory LoadForm(QSettings& settings)
{
    CFormMemory form;
    form.strLookIn = FromDisplay(settings.value("lookIn").toString());
    form.strFileMask = FromDisplay(settings.value("fileMask", ToDisplay(form.strFileMask)).toString());
    form.bSubfolders = settings.value("subfolders", form.bSubfolders).toBool();
    form.bCheckSound = settings.value("checkSound", form.bCheckSound).toBool();
    form.bOnlyWithSound = settings.value("onlyWithSound", false).toBool();
    form.bSizeRange = settings.value("sizeRange", false).toBool();
    form.nSizeMinKB = settings.value("sizeMinKB", 0).toInt();
    form.nSizeMaxKB = settings.value("sizeMaxKB", 0).toInt();
    return form;
}

void SaveForm(QSettings& settings, const CFormMemory& form)
{
    settings.setValue("lookIn", ToDisplay(form.strLookIn));
    settings.setValue("fileMask", ToDisplay(form.strFileMask));
    settings.setValue("subfolders", form.bSubfolders);
    settings.setValue("checkSound", form.bCheckSound);
    settings.setValue("onlyWithSound", form.bOnlyWithSound);
    settings.setValue("sizeRange", form.bSizeRange);
    settings.setValue("sizeMinKB", form.nSizeMinKB);
    settings.setValue("sizeMaxKB", form.nSizeMaxKB);
    settings.sync();
}

namespace {

CWindowMemory LoadWindow(QSettings& settings)
{
    CWindowMemory window;
    window.size = settings.value("window/size").toSize();
    window.bMaximized = settings.value("window/maximized", false).toBool();
    window.splitter = settings.value("window/splitter").toByteArray();
    window.columns = settings.value("window/columns").toByteArray();
    window.bThumbnails = settings.value("window/thumbnails", false).toBool();
    if (const QVariant folded = settings.value("window/optionsFolded"); folded.isValid())
        window.bOptionsFolded = folded.toBool();
    return window;
}

void SaveWindow(QSettings& settings, const CWindowMemory& window)
{
    settings.setValue("window/size", window.size);
    settings.setValue("window/maximized", window.bMaximized);
    settings.setValue("window/splitter", window.splitter);
    settings.setValue("window/columns", window.columns);
    settings.setValue("window/thumbnails", window.bThumbnails);
    if (window.bOptionsFolded)
        settings.setValue("window/optionsFolded", *window.bOptionsFolded);
    settings.sync();
}

} // namespace

bool CMainApp::InitInstance()
{
    // The sound plays for as long as the window lives, and goes with it.
    CSoundPlayer player;
    const CSoundServices sound(player);
    {
        // Without a settings file that can be read (see Settings), the
        // window starts as on first use and remembers nothing.
        QSettings* settings = Settings();
        CMainDlg dlg;
        dlg.RestoreForm(settings ? LoadForm(*settings) : CFormMemory());
        dlg.RestoreWindow(settings ? LoadWindow(*settings) : CWindowMemory());
        dlg.SetLookIn(m_strStartFolder);
        // The library is shown at once, as a photo tool shows it.
        dlg.SearchWhenShown(m_strStartFolder);
        dlg.DoModal();
        // Looked at again: the lock is taken only now.
        if (settings && SettingsFilesUsable()) {
            SaveForm(*settings, dlg.GetFormMemory());
            SaveWindow(*settings, dlg.GetWindowMemory());
        }
    }
    return false;
}

void InstallTranslations()
{
    // Qt's own texts (the folder picker, the OK of a message box) come from
    // the system's Qt translations; the program's are built in.
    static QTranslator qt;
    static QTranslator program;
    QCoreApplication::removeTranslator(&qt);
    QCoreApplication::removeTranslator(&program);
    if (qt.load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    if (program.load(QLocale(), "vocaline", "_", ":/i18n"))
        QCoreApplication::installTranslator(&program);
}
