#include "ui/resultslist.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QLocale>
#include <QMimeData>
#include <QResizeEvent>
#include <QThreadPool>
#include <QToolTip>
#include <QUrl>
#include <atomic>
#include <algorithm>
#include <array>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>

#include "audio/beside.h"
#include "audio/jpegaudio.h"
#include "audio/memo.h"
#include "audio/wav.h"
#include "platform/qt/text.h"
#include "search/pathparts.h"
#include "ui/translate.h"

namespace {

// Rows and headings are translated under the list's own name.
constexpr const char* kContext = "CResultsList";
// The Sound column's words in CResultsList::Sound's order: "Missing" for a
// memo the camera named but that is gone, "?" for a file whose sound
// cannot be known.
constexpr std::array<const char*, 4> kSoundWords = {
    QT_TRANSLATE_NOOP("CResultsList", "Yes"), QT_TRANSLATE_NOOP("CResultsList", "Missing"),
    QT_TRANSLATE_NOOP("CResultsList", "No"), QT_TRANSLATE_NOOP("CResultsList", "?")};
constexpr const char* kMissingTip = QT_TRANSLATE_NOOP("CResultsList", "The camera recorded %s; it is not beside the picture");

constexpr const char* kTimeFormat = "%d-%m-%Y %I:%M %p";

// "10239 B" and "10 KB" in bytes, for ordering rows by size.
int64_t SizeKey(const CString& text)
{
    long long value = 0;
    char unit[3] = {};
    if (std::sscanf(text.c_str(), "%lld %2s", &value, unit) < 1)
        return -1;
    return unit[0] == 'K' ? value * 1024 : value;
}

// "25-04-2003 11:09 PM" as a number that grows with the time; an empty
// text (a time that could not be read) comes first.
int64_t TimeKey(const CString& text)
{
    int day = 0, month = 0, year = 0, hour = 0, minute = 0;
    char half[3] = {};
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d %2s", &day, &month, &year, &hour, &minute, half) != 6)
        return INT64_MIN;
    hour = hour % 12 + (half[0] == 'P' ? 12 : 0);
    return (((static_cast<int64_t>(year) * 13 + month) * 32 + day) * 24 + hour) * 60 + minute;
}

} // namespace

namespace {

// The Sound column's text as what it says; an empty or unknown text is a
// file not checked.
CResultsList::Sound SoundIn(const CString& text, const std::array<CString, 4>& words)
{
    const auto found = text.empty() ? words.end() : std::find(words.begin(), words.end(), text);
    return found == words.end() ? CResultsList::Sound::Unchecked
                                : static_cast<CResultsList::Sound>(found - words.begin());
}

} // namespace

CSoundAnswer CheckRowSound(const CString& path, const KeepGoing& keepGoing)
{
    CSoundAnswer answer;
    answer.check = CheckSound(path, &answer.nError, keepGoing);
    if (answer.check == SoundCheck::Unreadable && answer.nError == ERROR_NOT_REGULAR_FILE)
        answer = {};
    else if (answer.check == SoundCheck::No && (!keepGoing || keepGoing()))
        answer.strMissing = FindMissingMemo(path);
    return answer;
}

namespace {

// Descriptions kept while their file stays the same (size and time), so
// hovering a row again reads nothing. A memo is read on a thread of its
// own, never on the window's (a memo may be hundreds of megabytes, a
// FlashPix head millions of pieces): until it is read the tooltip shows the
// cell's text, and the description replaces it while the tooltip is up.
class CMemoDescriptions : public std::enable_shared_from_this<CMemoDescriptions> {
public:
    explicit CMemoDescriptions(QAbstractItemView* view) : m_view(view) { m_reader.setMaxThreadCount(1); }
    ~CMemoDescriptions()
    {
        ++*m_generation;
        m_reader.clear();
        m_reader.waitForDone();
    }

    // The memo's description, empty when the picture has none now;
    // nothing while it is being read.
    std::optional<CString> Get(const CString& path)
    {
        const auto found = m_known.find(path);
        if (found != m_known.end() && found->second.stamp == StampMemo(path, found->second.strBeside))
            return found->second.strText;
        if (path != m_strReading)
            Read(path);
        return std::nullopt;
    }

private:
    struct Known {
        CMemoStamp stamp;
        CString strBeside;
        CString strText;
    };

    // Only the newest hover is read; one that the pointer left stops.
    void Read(const CString& path)
    {
        m_strReading = path;
        const unsigned generation = ++*m_generation;
        const std::weak_ptr<CMemoDescriptions> self = weak_from_this();
        m_reader.clear();
        m_reader.start([self, generation, current = m_generation, path] {
            Known known;
            known.strText = DescribeMemo(path, [&] { return *current == generation; }, &known.strBeside);
            if (*current != generation)
                return;
            known.stamp = StampMemo(path, known.strBeside);
            // The application outlives the list; the list is asked for by
            // its weak pointer, on the window's thread.
            QMetaObject::invokeMethod(qApp, [self, path, known] {
                if (const auto descriptions = self.lock())
                    descriptions->Done(path, known);
            }, Qt::QueuedConnection);
        });
    }

    void Done(const CString& path, const Known& known)
    {
        if (path == m_strReading)
            m_strReading.clear();
        if (m_known.size() >= kKept)
            m_known.clear();
        m_known[path] = known;
        // The tooltip up now shows the cell's text: asked again, the view
        // takes the description for the cell under the pointer.
        const QPoint at = m_view->viewport()->mapFromGlobal(QCursor::pos());
        if (QToolTip::isVisible() && m_view->isVisible() && m_view->viewport()->rect().contains(at)) {
            QHelpEvent event(QEvent::ToolTip, at, QCursor::pos());
            QCoreApplication::sendEvent(m_view->viewport(), &event);
        }
    }

    static constexpr size_t kKept = 4096;
    QAbstractItemView* m_view;
    std::map<CString, Known> m_known;
    CString m_strReading;
    std::shared_ptr<std::atomic<unsigned>> m_generation = std::make_shared<std::atomic<unsigned>>(0);
    QThreadPool m_reader;
};

} // namespace

// Name takes the width the other columns leave: Size, Modified and Sound ?
// keep theirs, In Folder the width wanted for it (its default, or what the
// user dragged it to) as far as Name keeps room for a whole camera or phone
// name. The widths follow from the list's width alone, so showing a picture
// beside the list, or selecting rows, can never wear a column down.
class CResultsList::ColumnFit final : public QObject {
public:
    // contents: what each column's typical text needs; the headings are
    // measured as the list shows them, in the user's language.
    ColumnFit(QTableView* view, std::array<int, 5> contents)
        : QObject(view), m_view(view), m_contents(contents), m_wantedFolder(contents[kFolder])
    {
        QHeaderView* header = view->horizontalHeader();
        for (int section = 0; section < header->count(); ++section)
            header->resizeSection(section, Minimum(section));
        view->viewport()->installEventFilter(this);
        connect(header, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
            if (m_fitting || section != kFolder)
                return;
            m_wantedFolder = size; // the user's drag
            Fit();
        });
    }
    // Widths remembered from an earlier run, where they still fit.
    void Restore(const QByteArray& state)
    {
        QHeaderView* header = m_view->horizontalHeader();
        if (state.isEmpty() || !header->restoreState(state))
            return;
        m_wantedFolder = header->sectionSize(kFolder);
        Modes();
        Fit();
    }
    void Modes()
    {
        QHeaderView* header = m_view->horizontalHeader();
        header->setStretchLastSection(false);
        for (int section = 0; section < header->count(); ++section)
            header->setSectionResizeMode(section, section == kName ? QHeaderView::Stretch : QHeaderView::Interactive);
    }
    // The narrowest the list can be with every column whole.
    int FittingWidth() const
    {
        int width = m_view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * m_view->frameWidth();
        for (int section = 0; section < kColumns; ++section)
            width += Minimum(section);
        return width;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            Fit();
        return false;
    }

private:
    static constexpr int kName = 0;
    static constexpr int kFolder = 1;
    static constexpr int kColumns = 5;

    // A column's text and heading whole; the folder, which elides, only
    // its heading. A heading has room for its sort mark beside it.
    int Minimum(int section) const
    {
        const QHeaderView* header = m_view->horizontalHeader();
        const QStyle* style = header->style();
        const int heading = header->fontMetrics().horizontalAdvance(
                                header->model()->headerData(section, Qt::Horizontal).toString())
                          + 3 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header)
                          + style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
        return section == kFolder ? heading : std::max(heading, m_contents[static_cast<size_t>(section)]);
    }

    void Fit()
    {
        QHeaderView* header = m_view->horizontalHeader();
        const int width = m_view->viewport()->width();
        if (width <= 0 || header->count() != kColumns)
            return;
        m_fitting = true;
        const auto others = [header] {
            return header->sectionSize(2) + header->sectionSize(3) + header->sectionSize(4);
        };
        // Widths remembered that no longer leave the row room start again
        // from the narrowest whole ones.
        for (int section = 2; section < kColumns; ++section) {
            if (header->sectionSize(section) < Minimum(section)
                || others() + Minimum(kFolder) + Minimum(kName) > width)
                header->resizeSection(section, Minimum(section));
        }
        const int room = width - others() - Minimum(kName);
        header->resizeSection(kFolder, std::max(Minimum(kFolder), std::min(m_wantedFolder, room)));
        m_fitting = false;
    }

    QTableView* m_view;
    std::array<int, kColumns> m_contents;
    int m_wantedFolder;
    bool m_fitting = false;
};

void CResultsList::Attach(QWidget* widget)
{
    m_widget = widget;
    m_list.Attach(widget);
}

void CResultsList::InsertColumns(const QIcon& rowIcon)
{
    for (size_t word = 0; word < m_soundWords.size(); ++word)
        m_soundWords[word] = TrText(kContext, kSoundWords[word]);
    CListView* view = m_list.View();
    if (!view)
        return;
    // Widths from what a typical row holds in this font, and never less than
    // the heading in the user's language with its sort mark: a phone's file
    // name beside its icon, a folder a few levels down, a size in the
    // gigabytes, a whole time with its AM or PM.
    const QFontMetrics metrics = view->fontMetrics();
    const int pad = 2 * metrics.averageCharWidth() + 8;
    const std::array<const char*, 5> headings = {
        QT_TRANSLATE_NOOP("CResultsList", "Name"), QT_TRANSLATE_NOOP("CResultsList", "In Folder"),
        QT_TRANSLATE_NOOP("CResultsList", "Size"), QT_TRANSLATE_NOOP("CResultsList", "Modified"),
        QT_TRANSLATE_NOOP("CResultsList", "Sound ?")};
    const std::array<const char*, 5> typical = {"HPIM1007_2.JPG", "/home/someone/Pictures/2003/", "99999 KB",
                                                "28-12-2003 10:59 PM", "Yes"};
    std::array<int, 5> widths{};
    for (size_t column = 0; column < widths.size(); ++column) {
        m_list.InsertColumn(static_cast<int>(column), TrText(kContext, headings[column]), 0);
        widths[column] = metrics.horizontalAdvance(QString::fromLatin1(typical[column])) + pad
                       + (column == 0 ? view->iconSize().width() + 2 * pad : 0);
    }
    // Sound's words are short in every language, but not equally short.
    for (const CString& word : m_soundWords)
        widths[static_cast<size_t>(Column::Sound)]
            = std::max(widths[static_cast<size_t>(Column::Sound)], metrics.horizontalAdvance(ToDisplay(word)) + pad);
    // A name cut short reads "IMG…JPG": cut the middle, where a name or a
    // folder says least.
    view->setTextElideMode(Qt::ElideMiddle);
    m_fit = new ColumnFit(view, widths);
    m_fit->Modes();
    m_list.SetImageList(rowIcon);
    // Rows drag out as the files they stand for, into a file manager or
    // any program that takes files.
    view->SetDragSource(
        [this](const std::vector<int>& rows) {
            auto* data = new QMimeData;
            QList<QUrl> urls;
            QStringList paths;
            for (const int row : rows) {
                const CString path = GetRowPath(row);
                urls << FileUrl(path);
                paths << ToDisplay(path);
            }
            data->setUrls(urls);
            data->setText(paths.join(u'\n'));
            return data;
        },
        {QStringLiteral("text/uri-list"), QStringLiteral("text/plain")});

    view->Sorter()->SetSortKey(static_cast<int>(Column::Size), SizeKey);
    view->Sorter()->SetSortKey(static_cast<int>(Column::Modified), TimeKey);
    view->Sorter()->SetSortKey(static_cast<int>(Column::Sound), [words = m_soundWords](const CString& text) {
        return static_cast<int64_t>(SoundIn(text, words));
    });
    auto descriptions = std::make_shared<CMemoDescriptions>(view);
    view->Model()->SetToolTipSource([descriptions, tips = m_soundTips, words = m_soundWords](
                                        const std::vector<CString>& texts, int column) -> CString {
        const auto text = [&](Column c) { return static_cast<size_t>(c) < texts.size() ? texts[static_cast<size_t>(c)] : CString(); };
        const CString sound = text(Column::Sound);
        if (column != static_cast<int>(Column::Sound) || sound.empty())
            return {};
        const CString path = text(Column::Folder) + text(Column::Name);
        const auto tip = tips->find(path);
        // A memo is described as its files stand now: a WAV put beside the
        // picture or taken away since the search shows at the next hover.
        // A picture that could not be read keeps its reason.
        if (SoundIn(sound, words) != Sound::Unknown) {
            const std::optional<CString> described = descriptions->Get(path);
            if (described && !described->empty())
                return *described;
            if (described && tip == tips->end())
                return words[static_cast<size_t>(Sound::No)];
        }
        // Until the memo is read, what the search found.
        return tip == tips->end() ? CString() : tip->second;
    });
}

void CResultsList::Append(const CString& folder, const CString& name, const CFileInformation& info,
                          const std::optional<CSoundAnswer>& sound)
{
    // The speaker marks the rows that carry sound, and only those.
    const bool yes = sound && sound->check == SoundCheck::Yes;
    const int row = m_list.InsertItem(Count(), name, yes);
    const auto set = [&](Column column, const CString& text) {
        m_list.SetItemText(row, static_cast<int>(column), text);
    };
    set(Column::Folder, folder);
    m_index.Append(folder + name);

    // Kilobytes only from ten of them on, truncated.
    const int64_t kb = info.nSize / 1024;
    set(Column::Size, kb >= 10 ? FormatText("%" PRId64 " KB", kb) : FormatText("%" PRId64 " B", info.nSize));
    set(Column::Modified, info.tLastWrite.FormatGmt(kTimeFormat));
    if (!sound)
        return;
    if (yes) {
        set(Column::Sound, Word(Sound::Yes));
    } else if (sound->check == SoundCheck::Unreadable) {
        set(Column::Sound, Word(Sound::Unknown));
        (*m_soundTips)[folder + name] = DescribeError(sound->nError);
    } else if (!sound->strMissing.empty()) {
        set(Column::Sound, Word(Sound::Missing));
        (*m_soundTips)[folder + name] = FormatText(TrFormat(kContext, kMissingTip).c_str(), sound->strMissing.c_str());
    } else {
        set(Column::Sound, Word(Sound::No));
    }
}

CResultsList::Sound CResultsList::SoundOf(const CString& text) const
{
    return SoundIn(text, m_soundWords);
}

int CResultsList::Find(const CString& path) const
{
    return m_index.Find(path);
}

void CResultsList::Remove(int row)
{
    m_soundTips->erase(GetRowPath(row));
    m_list.DeleteItem(row);
    m_index.Remove(row);
}

void CResultsList::RemoveAll()
{
    m_list.DeleteAllItems();
    m_index.Clear();
    m_soundTips->clear();
}

CString CResultsList::GetRowPath(int row) const
{
    return GetText(row, Column::Folder) + GetText(row, Column::Name);
}

std::vector<CString> CResultsList::ShownPaths() const
{
    std::vector<CString> paths;
    const CListView* view = View();
    if (!view)
        return paths;
    const QAbstractItemModel* shown = view->model();
    for (int v = 0; v < shown->rowCount(); ++v) {
        if (const int row = view->ProgramRow(shown->index(v, 0)); row >= 0)
            paths.push_back(GetRowPath(row));
    }
    return paths;
}

std::vector<CString> CResultsList::SelectedPaths(Order order) const
{
    std::vector<int> rows = m_list.GetSelectedRows();
    if (const CListView* view = View(); view && order == Order::Shown) {
        std::sort(rows.begin(), rows.end(), [view](int a, int b) {
            return view->ViewIndex(a).row() < view->ViewIndex(b).row();
        });
    }
    std::vector<CString> paths;
    for (const int row : rows)
        paths.push_back(GetRowPath(row));
    return paths;
}

int CResultsList::FittingWidth() const
{
    return m_fit ? m_fit->FittingWidth() : 0;
}

void CResultsList::RestoreColumns(const QByteArray& state)
{
    if (m_fit)
        m_fit->Restore(state);
}

int CResultsList::AppendFile(const CString& path, bool checkSound)
{
    CFileInformation info;
    if (!GetFileInformation(path, info))
        return -1;
    std::optional<CSoundAnswer> sound;
    if (checkSound)
        sound = CheckRowSound(path);
    const CPathParts parts(path.c_str());
    Append(parts.GetLocation(), parts.GetFileName(), info, sound);
    return Count() - 1;
}
