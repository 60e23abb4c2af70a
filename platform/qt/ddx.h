#pragma once
// Dialog data exchange: members and controls kept in step, in one direction
// at a time, through a table of DDX_ calls in the dialog's DoDataExchange.
#include <cstdint>

#include "platform/cstring.h"

class CDialog;
class CWndHandle;

// One direction of the exchange. A failed field stops the rest of the
// exchange, which leaves the later members as they were.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool save) : m_pDlgWnd(dialog), m_bSaveAndValidate(save) {}
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;
};

void DDX_Control(CDataExchange* pDX, int id, CWndHandle& control);
void DDX_Check(CDataExchange* pDX, int id, int32_t& value);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, int32_t& value);
void DDX_Radio(CDataExchange* pDX, int id, int& value);
