#include "guikit.h"

#include <QMenu>

RecordedServices::RecordedServices()
{
    services::SetMessageBox([this](QWidget*, const CString& text) { boxes.push_back(text); });
    services::SetChoiceBox([this](QWidget*, const CString& text, const std::vector<services::Choice>& buttons) {
        boxes.push_back(text);
        if (!choices.empty()) {
            const services::Choice answer = choices.front();
            choices.erase(choices.begin());
            return answer;
        }
        return buttons.front(); // as Enter answers
    });
    services::SetFolderPicker([this](QWidget*, const CString&, const CString& start) -> std::optional<CString> {
        folderStart = start;
        return folderAnswer;
    });
    services::SetShellOpen([this](const CString& path) {
        opened.push_back(path);
        return openAnswer;
    });
    services::SetShowInFolder([this](const CString& path) { shownInFolder.push_back(path); });
    services::SetPlaySound([this](const CString& path) {
        played.push_back(path);
        return playAnswer;
    });
    services::SetPlaySoundData([this](const std::vector<unsigned char>& wav, double) {
        playedData.push_back(wav);
        return playAnswer;
    });
}

RecordedServices::~RecordedServices()
{
    services::SetMessageBox(nullptr);
    services::SetChoiceBox(nullptr);
    services::SetFolderPicker(nullptr);
    services::SetShellOpen(nullptr);
    services::SetShowInFolder(nullptr);
    services::SetPlaySound(nullptr);
    services::SetPlaySoundData(nullptr);
}

ShownDialog::ShownDialog()
{
    dlg.Create();
    dlg.show();
    QApplication::processEvents();
}

void ShownDialog::Click(int id)
{
    QTest::mouseClick(Button(id), Qt::LeftButton);
    WaitForExtraction();
}

void ShownDialog::WaitForExtraction()
{
    while (dlg.IsExtracting() || dlg.IsExporting())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

std::vector<std::string> ShownDialog::LogRows() const
{
    std::vector<std::string> rows;
    for (int i = 0; i < List(IDC_LOG)->Model()->Count(); ++i)
        rows.push_back(List(IDC_LOG)->Model()->GetText(i, 0));
    return rows;
}

std::vector<std::string> ShownDialog::Row(int row) const
{
    std::vector<std::string> texts;
    for (int column = 0; column < 5; ++column)
        texts.push_back(List(IDC_RESULTS)->Model()->GetText(row, column));
    return texts;
}

std::vector<std::string> ShownDialog::SortedRowPaths() const
{
    std::vector<std::string> paths;
    for (int i = 0; i < Rows(); ++i)
        paths.push_back(RowPath(i));
    std::sort(paths.begin(), paths.end());
    return paths;
}

void ShownDialog::Select(const std::vector<int>& rows)
{
    CListView* view = List(IDC_RESULTS);
    view->Model()->Flush();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ShownDialog::Search(const std::string& folder, int mode, bool subfolders)
{
    SetText(IDC_LOOKIN, folder);
    Button(IDC_REPLACE + mode)->click();
    Button(IDC_SUBFOLDERS)->setChecked(subfolders);
    Click(IDOK);
}

void ShownDialog::ListAll(const std::string& folder, bool subfolders)
{
    Search(folder, 0, subfolders);
    List(IDC_RESULTS)->selectAll();
}

void Soon(std::function<void()> action, int delayMs)
{
    QTimer::singleShot(delayMs, qApp, std::move(action));
}

void ChooseSoon(const QString& entry)
{
    Soon([entry] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text() == entry)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The window tests run the real dialog without a display and without a sound device (a test may choose
    // another driver); the form they remember and the thumbnails they make go to folders of their own.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    const TempDir cache;
    setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
