// The window on the screens people have, in English, German and French: the screen comes from the platform's
// configuration (one run per screen, see gui_tests.cmake). A first start and four reopenings, as a user would.
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include "app/mainapp.h"
#include "guikit.h"
#include "ui/thumbgrid.h"

namespace {

// The controls a user reads or clicks, each inside the window and none over another; every heading of the list
// whole.
void ExpectLaidOut(CMainDlg& dlg, const std::string& where)
{
    std::vector<std::pair<QString, QRect>> taken;
    for (QWidget* widget : dlg.findChildren<QWidget*>()) {
        const bool leaf = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget)
                       || qobject_cast<CListView*>(widget) || qobject_cast<QLabel*>(widget);
        if (!leaf || !widget->isVisibleTo(&dlg) || widget->parentWidget()->inherits("QAbstractItemView")
            || widget->parentWidget()->inherits("QAbstractScrollArea"))
            continue;
        const QRect rect(widget->mapTo(&dlg, QPoint(0, 0)), widget->size());
        const QString name = widget->accessibleName() + widget->property("text").toString();
        EXPECT_TRUE(dlg.rect().contains(rect)) << name.toStdString() << where;
        for (const auto& [other, otherRect] : taken)
            EXPECT_FALSE(rect.intersects(otherRect)) << name.toStdString() << " / " << other.toStdString() << where;
        taken.emplace_back(name, rect);
    }
    QHeaderView* header = qobject_cast<CListView*>(dlg.GetDlgItem(IDC_RESULTS))->horizontalHeader();
    for (int section = 0; section < header->count(); ++section) {
        const QString heading = header->model()->headerData(section, Qt::Horizontal).toString();
        EXPECT_LE(header->fontMetrics().horizontalAdvance(heading)
                      + 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header),
                  header->sectionSize(section))
            << heading.toStdString() << where;
    }
}

TEST(Layout, FitsTheScreenAndKeepsNamesWholeInEveryLanguage)
{
    RecordedServices services;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const bool laptop = screen.size() == QSize(1366, 768);
    TempDir dir;
    const std::vector<std::pair<std::string, std::string>> samples = {
        {"HPIM0045.JPG", "real/hp-photosmart-m425/HPIM0045.JPG"},
        {"P1010006.JPG", "real/olympus-c3000/P1010006.JPG"},
        {"P1010006.WAV", "real/olympus-c3000/P1010006.WAV"},
        {"IM000959.JPG", "real/hp-photosmart-433/IM000959.JPG"},
        {"\xC3\x89t\xC3\xA9 2003.JPG", "IM000101.JPG"}};
    for (const auto& [name, sample] : samples)
        CopySample(dir / ("2003/" + name), sample);

    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::French, QLocale::France)}) {
        QLocale::setDefault(locale);
        InstallTranslations();
        CWindowMemory shape; // a first start, then what each run left
        CFormMemory form{.strLookIn = dir.path()};
        for (int start = 0; start < 5; ++start) {
            const std::string where = " " + locale.name().toStdString() + " start " + std::to_string(start);
            CMainDlg dlg;
            dlg.RestoreForm(form);
            dlg.RestoreWindow(shape);
            dlg.SearchWhenShown("");
            dlg.Create();
            dlg.show();
            CListView* view = qobject_cast<CListView*>(dlg.GetDlgItem(IDC_RESULTS));
            ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.GetDlgItemText(IDC_STATUS).empty()
                                                   && dlg.GetDlgItemText(IDC_STATUS)[0] != '('; }, 10000));
            ASSERT_EQ(view->Model()->Count(), 4) << where;
            EXPECT_TRUE(screen.contains(dlg.geometry())) << where;
            ExpectLaidOut(dlg, where);
            if (start == 0) { // four fifths of the screen; tiles made for its pixels, large where there are twice as many
                EXPECT_NEAR(dlg.width(), screen.width() * 4 / 5, screen.width() / 10) << where;
                QTest::keyClick(&dlg, Qt::Key_2, Qt::ControlModifier);
                auto* grid = dlg.findChild<CThumbGrid*>();
                ASSERT_TRUE(QTest::qWaitFor([&] { return grid->VisibleDone(); }, 10000)) << where;
                EXPECT_EQ(Exists(std::string(getenv("XDG_CACHE_HOME")) + "/thumbnails/large"),
                          dlg.devicePixelRatioF() > 1) << where;
                QTest::keyClick(&dlg, Qt::Key_1, Qt::ControlModifier);
            }

            // Showing a picture and its memo never moves the divider.
            auto* splitter = dlg.findChild<QSplitter*>();
            const QList<int> divided = splitter->sizes();
            view->setCurrentIndex(view->model()->index(start % 4, 0));
            auto* pane = dlg.findChild<CPreviewPane*>();
            ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Shows(dlg.GetDlgItemText(IDC_LOOKIN) + "2003/"
                                                                 + view->Model()->GetText(start % 4, 0)); },
                                        10000)) << where;
            QApplication::processEvents();
            EXPECT_EQ(splitter->sizes(), divided) << where;
            // Every name shows whole, not cut and not scrolled away.
            EXPECT_LE(view->columnViewportPosition(0) + view->columnWidth(0), view->viewport()->width()) << where;
            for (int v = 0; v < 4; ++v)
                EXPECT_LE(view->sizeHintForIndex(view->model()->index(v, 0)).width(), view->columnWidth(0))
                    << view->Model()->GetText(view->ProgramRow(view->model()->index(v, 0)), 0) << where;
            if (laptop) {
                auto* picture = pane->findChild<QLabel*>("picture");
                ASSERT_NE(picture, nullptr);
                EXPECT_GE(picture->width(), dlg.width() * 45 / 100) << where;
                EXPECT_GE(picture->height(), dlg.height() * 40 / 100) << where;
            }
            shape = dlg.GetWindowMemory();
            form = dlg.GetFormMemory();
            dlg.close();
        }
    }
}

} // namespace
