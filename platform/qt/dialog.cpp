#include "platform/qt/dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
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
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/qt/controls.h"
#include "platform/qt/services.h"

using res::Kind;

static void InitIconResources()
{
    // The images live in a static library: register them before first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(vocaline);
        return true;
    }();
    (void)registered;
}

QIcon LoadIconResource(int id)
{
    InitIconResources();
    QIcon icon;
    if (id == res::IDR_MAINFRAME) {
        icon.addFile(":/icons/128-32.png", QSize(32, 32));
        icon.addFile(":/icons/128-16.png", QSize(16, 16));
    } else if (id == res::IDI_SPEAKER) {
        icon.addFile(":/icons/131-16.png", QSize(16, 16));
    }
    return icon;
}

CDialog::CDialog(int templateId, QWidget* parent)
    : QDialog(parent), m_template(res::FindDialogTemplate(templateId))
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
    setWindowTitle(m_template->title);
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
    if (id == res::IDOK)
        OnOK();
    else if (id == res::IDCANCEL)
        OnCancel();
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.data();
}

CString CDialog::GetDlgItemText(int id) const
{
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return services::FromDisplay(edit->text());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return services::FromDisplay(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return services::FromDisplay(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return services::FromDisplay(group->title());
    return {};
}

void CDialog::SetDlgItemText(int id, const CString& text)
{
    QWidget* widget = GetDlgItem(id);
    const QString shown = services::ToDisplay(text);
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

void CDialog::CreateControls()
{
    QWidget* previousTab = nullptr;
    QButtonGroup* radioGroup = nullptr;
    for (const res::ControlTemplate& control : m_template->controls) {
        QWidget* widget = CreateControl(control);
        QRect rect = MapDialogRect(control.x, control.y, control.cx, control.cy);
        // Our font and check-mark glyphs are wider than the ones the template
        // was laid out for: a check box grows to its text, a wrapped label to
        // its lines, rather than clip them.
        if (control.kind == Kind::CheckBox || control.kind == Kind::RadioButton)
            rect.setWidth(std::max(rect.width(), widget->sizeHint().width()));
        else if (auto* label = qobject_cast<QLabel*>(widget); label && label->wordWrap())
            rect.setHeight(std::max(rect.height(), label->heightForWidth(rect.width())));
        widget->setGeometry(rect);
        if (control.style & res::Disabled)
            widget->setEnabled(false);
        if (control.id != res::IDC_STATIC)
            m_controls[control.id] = widget;

        if (control.kind == Kind::RadioButton) {
            // A radio group runs from its first button to the next group start.
            if (!radioGroup || (control.style & res::Group)) {
                radioGroup = new QButtonGroup(this);
                radioGroup->setProperty("firstId", control.id);
            }
            radioGroup->addButton(static_cast<QAbstractButton*>(widget));
            widget->setProperty("radioGroup", QVariant::fromValue<QObject*>(radioGroup));
        } else if (control.style & res::Group) {
            radioGroup = nullptr;
        }

        // Group boxes and frames lie beneath the controls they surround.
        if (control.kind == Kind::GroupBox || control.kind == Kind::EtchedFrame)
            widget->lower();

        if (control.style & res::TabStop) {
            if (previousTab)
                QWidget::setTabOrder(previousTab, widget);
            previousTab = widget;
        } else if (widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
    }
}

QWidget* CDialog::CreateControl(const res::ControlTemplate& control)
{
    const QString text = QString::fromUtf8(control.text);
    const int id = control.id;
    switch (control.kind) {
    case Kind::Edit: {
        auto* edit = new QLineEdit(this);
        if (control.style & res::Number)
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        return edit;
    }
    case Kind::PushButton: {
        auto* button = new QPushButton(text, this);
        // Enter is the dialog's to route, never a button's own.
        button->setAutoDefault(false);
        button->setDefault(control.style & res::DefaultButton);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        return button;
    }
    case Kind::CheckBox: {
        auto* box = new QCheckBox(text, this);
        connect(box, &QCheckBox::clicked, this, [this, id] { OnCommand(id); });
        return box;
    }
    case Kind::RadioButton: {
        auto* radio = new QRadioButton(text, this);
        connect(radio, &QRadioButton::clicked, this, [this, id] { OnCommand(id); });
        return radio;
    }
    case Kind::ListView: {
        auto* list = new CListView(control.style & res::Report, control.style & res::SingleSel, this);
        connect(list, &CListView::doubleClicked, this, [this, id] { OnDoubleClick(id); });
        return list;
    }
    case Kind::GroupBox:
        return new QGroupBox(text, this);
    case Kind::EtchedFrame: {
        auto* frame = new QFrame(this);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    case Kind::Icon: {
        auto* label = new QLabel(this);
        label->setPixmap(LoadIconResource(std::atoi(control.text)).pixmap(32, 32));
        return label;
    }
    case Kind::Label:
        break;
    }
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(control.style & res::WordWrap);
    label->setAlignment(Qt::AlignLeft | ((control.style & res::CenterVertically) ? Qt::AlignVCenter : Qt::AlignTop));
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
        OnCommand(res::IDCANCEL);
        return;
    }
    // Enter presses the focused push button, or else the default button.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
        button->click();
        return;
    }
    for (const res::ControlTemplate& control : m_template->controls) {
        if (control.style & res::DefaultButton) {
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
    OnCommand(res::IDCANCEL);
}

void CDialog::reject()
{
    OnCommand(res::IDCANCEL);
}

void CDialog::accept()
{
    OnCommand(res::IDOK);
}

// ---- data exchange ----

void DDX_Control(CDataExchange* pDX, int id, CWndHandle& control)
{
    if (pDX->m_bFailed)
        return;
    if (!control.IsAttached())
        control.Attach(pDX->m_pDlgWnd->GetDlgItem(id));
}

void DDX_Check(CDataExchange* pDX, int id, int32_t& value)
{
    if (pDX->m_bFailed)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->IsDlgButtonChecked(id);
    else
        pDX->m_pDlgWnd->CheckDlgButton(id, value);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    if (pDX->m_bFailed)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    else
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
}

namespace {

// A whole signed decimal number, blanks around it allowed, within 32 bits.
bool ParseInteger(const CString& text, int32_t& value)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(start, &end, 10);
    if (end == start || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

} // namespace

void DDX_Text(CDataExchange* pDX, int id, int32_t& value)
{
    if (pDX->m_bFailed)
        return;
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->SetDlgItemText(id, FormatText("%d", value));
        return;
    }
    int32_t parsed = 0;
    if (ParseInteger(pDX->m_pDlgWnd->GetDlgItemText(id), parsed)) {
        value = parsed;
        return;
    }
    pDX->m_bFailed = true;
    services::MessageBox(pDX->m_pDlgWnd, "Please enter an integer.");
    if (auto* edit = qobject_cast<QLineEdit*>(pDX->m_pDlgWnd->GetDlgItem(id))) {
        edit->setFocus();
        edit->selectAll();
    }
}

void DDX_Radio(CDataExchange* pDX, int id, int& value)
{
    if (pDX->m_bFailed)
        return;
    QWidget* first = pDX->m_pDlgWnd->GetDlgItem(id);
    auto* group = first ? qobject_cast<QButtonGroup*>(first->property("radioGroup").value<QObject*>()) : nullptr;
    if (!group)
        return;
    const QList<QAbstractButton*> buttons = group->buttons();
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < buttons.size(); ++i) {
            if (buttons[i]->isChecked())
                value = i;
        }
    } else if (value >= 0 && value < buttons.size()) {
        buttons[value]->setChecked(true);
    }
}
