#include "platform/qt/ddx.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QLineEdit>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/qt/controls.h"
#include "platform/qt/dialog.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"

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
    const QString message = QCoreApplication::translate("CDataExchange", "Please enter an integer.");
    services::MessageBox(pDX->m_pDlgWnd, FromDisplay(message));
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
