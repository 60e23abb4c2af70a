// Extract Sound and Extract and play: the extraction run on a thread of its
// own (extraction.h), its rows and messages carried over to the window,
// which keeps answering all the while.
#include <algorithm>
#include <cctype>

#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "res/ids.h"
#include "search/pathparts.h"
#include "ui/extraction.h"
#include "ui/translate.h"

namespace {
// New log rows reach the screen at this pace while a run goes on.
constexpr int kLogRefreshMs = 40;
}

void CMainDlg::ExtractSound()
{
    RunExtractSound();
}

void CMainDlg::RunExtractSound(const CExtractOptions& options, AfterExtraction then)
{
    if (m_extraction || m_listExport) // one piece of work on the progress bar at a time
        return;
    m_listLog.DeleteAllItems();
    std::vector<CString> sources = m_listResults.SelectedPaths();
    if (sources.empty()) {
        // Nothing to run: the message the run gives, at once.
        services::MessageBox(this, TrExtractText("Error No items were selected!"));
        return;
    }
    m_status->Start(static_cast<int>(sources.size()));
    m_listLog.SetBatchInterval(kLogRefreshMs);
    m_extraction = std::make_unique<CExtraction>(*this, std::move(sources), options, std::move(then));
    UpdateCommands();
}

void CMainDlg::EndExtraction()
{
    if (!m_extraction)
        return;
    const std::unique_ptr<CExtraction> run = std::move(m_extraction);
    m_status->Finish();
    m_listLog.SetBatchInterval(0);
    run->Finish();
    UpdateCommands();
    if (m_bCloseAfterExtraction) {
        m_bCloseAfterExtraction = false;
        OnCancel();
        return;
    }
    run->After();
}

void CMainDlg::UpdateCommands()
{
    const bool extracting = m_extraction != nullptr;
    const bool busy = extracting || m_listExport;
    EnableDlgItem(IDOK, !extracting);
    EnableDlgItem(IDC_EXTRACT, !busy);
    EnableDlgItem(IDC_EXTRACTPLAY, !busy);
    EnableDlgItem(IDC_EXTRACTTO, !busy);
    m_status->SetBusy(busy);
}

void CMainDlg::ExtractAndPlay()
{
    const std::vector<CString> selected = m_listResults.SelectedPaths();
    if (selected.empty()) {
        services::MessageBox(this, FromDisplay(tr("Please select a item in the Search results list")));
        return;
    }
    CString playPath = selected.front();
    CString tail = playPath.size() > 3 ? playPath.substr(playPath.size() - 3) : playPath;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    const auto play = [this](const CString& path) { ReportPlay(services::PlaySound(path), path); };
    if (tail == "wav") {
        m_listLog.DeleteAllItems();
        play(playPath);
        return;
    }
    // Only what this run wrote is the row's sound, wherever it went: a WAV
    // left from an earlier run beside a picture that has none now is not
    // played, and nothing plays after Cancel.
    RunExtractSound({}, [play](bool cancelled, const CString& firstOutput) {
        if (!cancelled && !firstOutput.empty())
            play(firstOutput);
    });
}

std::optional<CString> CMainDlg::PickOutputFolder()
{
    const CString start = m_strLastOutputDir.empty() ? ExpandHome(m_strLookIn) : m_strLastOutputDir;
    std::optional<CString> folder
        = services::BrowseForFolder(this, FromDisplay(tr("Select a folder for the WAV files")), start);
    if (folder)
        m_strLastOutputDir = *folder;
    return folder;
}

void CMainDlg::ExtractTo()
{
    if (m_extraction || m_listExport)
        return;
    // Nothing selected: the run's own message, before any folder is asked for.
    if (m_listResults.SelectedPaths().empty()) {
        RunExtractSound();
        return;
    }
    const std::optional<CString> folder = PickOutputFolder();
    if (!folder)
        return;
    CExtractOptions options;
    options.strOutputDir = *folder;
    options.strTreeRoot = ExpandHome(m_strLookIn);
    RunExtractSound(options);
}

std::optional<CString> CMainDlg::AskOtherOutputFolder(const CString& folder)
{
    const CString format
        = TrFormat("CMainDlg", QT_TR_NOOP("The folder %s cannot be written.\nExtract to another folder?"));
    const services::Choice answer = services::ChoiceBox(this, FormatText(format.c_str(), folder.c_str()),
                                                        {services::Choice::Yes, services::Choice::No});
    if (answer != services::Choice::Yes)
        return std::nullopt;
    return PickOutputFolder();
}
