#include "guikit.h"

#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/aboutdlg.h"

#include "platform/qt/services.h"

RecordedServices::RecordedServices(bool realSound)
{
    services::SetMessageBox([this](QWidget*, const CString& text) {
        boxes.push_back(text);
        logRowsAtBox.push_back(dialog ? static_cast<size_t>(dialog->m_listLog.GetItemCount()) : 0);
    });
    services::SetFolderPicker([this](QWidget*, const CString&) -> std::optional<CString> { return folderAnswer; });
    services::SetShellOpen([this](const CString& path) { opened.push_back(path); });
    if (!realSound) {
        services::SetPlaySound([this](const CString& path) {
            played.push_back(path);
            return playAnswer;
        });
    }
}

RecordedServices::~RecordedServices()
{
    services::SetMessageBox(nullptr);
    services::SetFolderPicker(nullptr);
    services::SetShellOpen(nullptr);
    services::SetPlaySound(nullptr);
}

ShownDialog::ShownDialog()
{
    dlg.Create();
    dlg.show();
    QApplication::processEvents();
}

ShownDialog::~ShownDialog()
{
    dlg.m_bSearching = false;
    dlg.hide();
}

QAbstractButton* ShownDialog::Button(int id) const
{
    return qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
}

QLineEdit* ShownDialog::Edit(int id) const
{
    return qobject_cast<QLineEdit*>(dlg.GetDlgItem(id));
}

void ShownDialog::Click(int id)
{
    QTest::mouseClick(Button(id), Qt::LeftButton);
}

void ShownDialog::SetText(int id, const std::string& text)
{
    dlg.SetDlgItemText(id, text);
}

std::string ShownDialog::Text(int id) const
{
    return dlg.GetDlgItemText(id);
}

std::vector<std::string> ShownDialog::LogRows() const
{
    std::vector<std::string> rows;
    auto& log = const_cast<CMainDlg&>(dlg).m_listLog;
    for (int i = 0; i < log.GetItemCount(); ++i)
        rows.push_back(log.GetItemText(i, 0));
    return rows;
}

std::vector<std::string> ShownDialog::Row(int row) const
{
    std::vector<std::string> texts;
    for (int column = 0; column < 5; ++column)
        texts.push_back(const_cast<CMainDlg&>(dlg).m_listResults.GetItemText(row, column));
    return texts;
}

void ShownDialog::Select(const std::vector<int>& rows)
{
    for (int row : rows)
        dlg.m_listResults.SetItemSelected(row, true);
}

void ShownDialog::Search(const std::string& folder, int mode, bool subfolders)
{
    SetText(IDC_LOOKIN, folder);
    Button(IDC_REPLACE + mode)->click();
    Button(IDC_SUBFOLDERS)->setChecked(subfolders);
    Click(1);
}

void Soon(std::function<void()> action, int delayMs)
{
    QTimer::singleShot(delayMs, qApp, std::move(action));
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The window tests run the real dialog without a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    CMainDlg::SetAboutBox(ShowAboutBox);
    return RUN_ALL_TESTS();
}
