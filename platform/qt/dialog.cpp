#include "platform/qt/dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include <algorithm>

#include "platform/qt/controls.h"
#include "platform/qt/ddx.h"
#include "platform/qt/text.h"

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), m_template(&dialogTemplate)
{
    // The dialog font sets the size of a dialog unit, as its average
    // character width (x / 4) and its height (y / 8).
    QFont font(m_template->fontFace);
    font.setPointSize(m_template->fontPoints);
    setFont(font);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (width / 26 + 1) / 2;
    m_baseY = metrics.height();
}

CDialog::~CDialog() = default;

QRect CDialog::MapDialogRect(int x, int y, int cx, int cy) const
{
    auto mx = [this](int v) { return v * m_baseX / 4; };
    auto my = [this](int v) { return v * m_baseY / 8; };
    return QRect(mx(x), my(y), mx(x + cx) - mx(x), my(y + cy) - my(y));
}

bool CDialog::Create()
{
    if (m_bCreated)
        return true;
    m_bCreated = true;
    setWindowTitle(TemplateText(m_template->title));
    CreateControls();
    const QRect client = MapDialogRect(0, 0, m_template->cx, m_template->cy);
    resize(client.size());
    if (!m_template->resizable)
        setFixedSize(client.size());
    OnInitDialog();
    return true;
}

int CDialog::DoModal()
{
    Create();
    return exec();
}

void CDialog::EndDialog(int result)
{
    m_bEnding = true;
    done(result);
    m_bEnding = false;
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.m_bFailed;
}

void CDialog::OnCommand(int id)
{
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

QString CDialog::TemplateText(const char* text) const
{
    // Each dialog's texts are translated under its class name, the context
    // its own tr() uses too; English is the source.
    return QCoreApplication::translate(metaObject()->className(), text);
}

namespace {

// A text as the user reads it: the mnemonic marks taken out.
QString WithoutMnemonic(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

} // namespace

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.data();
}

CString CDialog::GetDlgItemText(int id) const
{
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return FromDisplay(edit->text());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return FromDisplay(label->buddy() ? WithoutMnemonic(label->text()) : label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return FromDisplay(WithoutMnemonic(button->text()));
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return FromDisplay(WithoutMnemonic(group->title()));
    return {};
}

void CDialog::SetDlgItemText(int id, const CString& text)
{
    QWidget* widget = GetDlgItem(id);
    const QString shown = ToDisplay(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(shown);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(shown);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(shown);
}

int CDialog::IsDlgButtonChecked(int id) const
{
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button && button->isChecked() ? 1 : 0;
}

void CDialog::CheckDlgButton(int id, int state)
{
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        button->setChecked(state != 0);
}

void CDialog::EnableDlgItem(int id, bool enable)
{
    if (QWidget* widget = GetDlgItem(id))
        widget->setEnabled(enable);
}

QWidget* CDialog::LabelFor(int id) const
{
    QWidget* control = GetDlgItem(id);
    for (const QPointer<QWidget>& widget : m_ordered) {
        if (auto* label = qobject_cast<QLabel*>(widget.data()); label && control && label->buddy() == control)
            return label;
    }
    return nullptr;
}

QWidget* CDialog::NextControl(int id) const
{
    QWidget* control = GetDlgItem(id);
    for (size_t i = 0; control && i + 1 < m_ordered.size(); ++i) {
        if (m_ordered[i] == control)
            return m_ordered[i + 1];
    }
    return nullptr;
}

void CDialog::RestoreTabOrder()
{
    for (size_t i = 1; i < m_tabChain.size(); ++i) {
        if (m_tabChain[i - 1] && m_tabChain[i])
            QWidget::setTabOrder(m_tabChain[i - 1], m_tabChain[i]);
    }
}

void CDialog::CreateControls()
{
    QWidget* previousTab = nullptr;
    QButtonGroup* radioGroup = nullptr;
    QLabel* naming = nullptr; // a label waiting for the control it names
    for (const ControlTemplate& control : m_template->controls) {
        QWidget* widget = CreateControl(control);
        if (naming) {
            naming->setBuddy(widget);
            widget->setAccessibleName(WithoutMnemonic(naming->text()));
            naming = nullptr;
        }
        if (auto* label = qobject_cast<QLabel*>(widget);
            label && control.kind == ControlKind::Label && !(control.style & ControlStyle::NoPrefix)
            && QString::fromUtf8(control.text).contains(u'&'))
            naming = label;
        if (control.accessibleName)
            widget->setAccessibleName(TemplateText(control.accessibleName));
        if (control.description)
            widget->setAccessibleDescription(TemplateText(control.description));
        QRect rect = MapDialogRect(control.x, control.y, control.cx, control.cy);
        // Our font and check-mark glyphs are wider than the ones the template
        // was laid out for: a check box grows to its text, a wrapped label to
        // its lines, rather than clip them.
        if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::RadioButton)
            rect.setWidth(std::max(rect.width(), widget->sizeHint().width()));
        else if (auto* label = qobject_cast<QLabel*>(widget); label && label->wordWrap())
            rect.setHeight(std::max(rect.height(), label->heightForWidth(rect.width())));
        widget->setGeometry(rect);
        if (control.style & ControlStyle::Disabled)
            widget->setEnabled(false);
        if (control.id != IDC_STATIC)
            m_controls[control.id] = widget;
        m_ordered.emplace_back(widget);

        if (control.kind == ControlKind::RadioButton) {
            // A radio group runs from its first button to the next group start.
            if (!radioGroup || (control.style & ControlStyle::Group)) {
                radioGroup = new QButtonGroup(this);
                radioGroup->setProperty("firstId", control.id);
            }
            radioGroup->addButton(static_cast<QAbstractButton*>(widget));
            widget->setProperty("radioGroup", QVariant::fromValue<QObject*>(radioGroup));
        } else if (control.style & ControlStyle::Group) {
            radioGroup = nullptr;
        }

        // Group boxes and frames lie beneath the controls they surround.
        if (control.kind == ControlKind::GroupBox || control.kind == ControlKind::EtchedFrame)
            widget->lower();

        // A radio group is one stop for Tab, at its selected button; the
        // arrow keys move within it.
        if (control.kind == ControlKind::RadioButton) {
            widget->setFocusPolicy(Qt::ClickFocus);
            connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::toggled, widget,
                    [widget](bool on) { widget->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); });
        }
        if ((control.style & ControlStyle::TabStop) || control.kind == ControlKind::RadioButton) {
            if (previousTab)
                QWidget::setTabOrder(previousTab, widget);
            previousTab = widget;
            m_tabChain.emplace_back(widget);
        } else if (widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
    }
}

QWidget* CDialog::CreateControl(const ControlTemplate& control)
{
    const QString text = TemplateText(control.text);
    const int id = control.id;
    switch (control.kind) {
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(this);
        if (control.style & ControlStyle::Number)
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        return edit;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, this);
        // Enter is the dialog's to route, never a button's own.
        button->setAutoDefault(false);
        button->setDefault(control.style & ControlStyle::DefaultButton);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        return button;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(text, this);
        connect(box, &QCheckBox::clicked, this, [this, id] { OnCommand(id); });
        return box;
    }
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(text, this);
        connect(radio, &QRadioButton::clicked, this, [this, id] { OnCommand(id); });
        return radio;
    }
    case ControlKind::ListView: {
        auto* list = new CListView(control.style & ControlStyle::Report, control.style & ControlStyle::SingleSel, this);
        list->SetSortable(control.style & ControlStyle::SortHeader);
        connect(list, &CListView::rowActivated, this, [this, id](int row) { OnRowActivated(id, row); });
        connect(list, &CListView::contextMenuAt, this,
                [this, id](int row, const QPoint& globalPos) { OnContextMenu(id, row, globalPos); });
        return list;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(text, this);
    case ControlKind::EtchedFrame: {
        auto* frame = new QFrame(this);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(this);
        label->setPixmap(QIcon(QString::fromUtf8(control.text)).pixmap(32, 32));
        return label;
    }
    case ControlKind::Label:
        break;
    }
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(control.style & ControlStyle::WordWrap);
    label->setAlignment(Qt::AlignLeft | ((control.style & ControlStyle::CenterVertically) ? Qt::AlignVCenter : Qt::AlignTop));
    return label;
}

void CDialog::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!m_bDialogKeys)
        return;
    if (key == Qt::Key_Escape) {
        OnCommand(IDCANCEL);
        return;
    }
    // Enter presses the focused push button, or else the default button.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
        button->click();
        return;
    }
    for (const ControlTemplate& control : m_template->controls) {
        if (control.style & ControlStyle::DefaultButton) {
            OnCommand(control.id);
            return;
        }
    }
}

bool CDialog::focusNextPrevChild(bool next)
{
    return m_bDialogKeys ? QDialog::focusNextPrevChild(next) : true;
}

void CDialog::closeEvent(QCloseEvent* event)
{
    if (m_bEnding) {
        event->accept();
        return;
    }
    // The close box is the Cancel command; only EndDialog closes the window.
    event->ignore();
    OnCommand(IDCANCEL);
}

void CDialog::reject()
{
    OnCommand(IDCANCEL);
}

void CDialog::accept()
{
    OnCommand(IDOK);
}
