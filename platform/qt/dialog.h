#pragma once
// A dialog built from its template: controls keep the template's ids, dialog
// units become pixels by the dialog font, template order is the tab order.
// Members and controls are kept in step through DoDataExchange (see ddx.h),
// and every command reaches OnCommand with the id of the control that sent it.
#include <QDialog>
#include <QPointer>
#include <map>
#include <vector>

#include "platform/cstring.h"
#include "platform/dlgtemplate.h"

class CDataExchange;

class CDialog : public QDialog {
    Q_OBJECT
public:
    // The template must outlive the dialog.
    explicit CDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
    ~CDialog() override;

    // Builds the window from the template, runs OnInitDialog and the modal
    // loop; answers the id that ended it.
    int DoModal();
    // Builds the window and runs OnInitDialog without the modal loop.
    bool Create();
    void EndDialog(int result);

    bool UpdateData(bool saveAndValidate = true);

    QWidget* GetDlgItem(int id) const;
    CString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const CString& text);
    int IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, int state);
    void EnableDlgItem(int id, bool enable);

    // Dialog units to pixels for this dialog's font.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;

    // While off, Enter, Escape and Tab get no dialog handling at all.
    void SetDialogKeys(bool on) { m_bDialogKeys = on; }

    /// Returns the label that names the control id, or nullptr.
    QWidget* LabelFor(int id) const;
    /// Returns the control that follows id in template order, or nullptr.
    QWidget* NextControl(int id) const;
    // Tab visits the controls in template order again, after a dialog has
    // moved them into containers of its own.
    void RestoreTabOrder();

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Routes a command from a control id. The base knows OK and Cancel.
    virtual void OnCommand(int id);
    // A row of the list view with this id was opened: double-clicked with
    // the left button, or Enter pressed on it.
    virtual void OnRowActivated(int /*id*/, int /*row*/) {}
    // The context menu asked for over a row of that list (row -1: over no
    // row), at globalPos on the screen.
    virtual void OnContextMenu(int /*id*/, int /*row*/, const QPoint& /*globalPos*/) {}

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void accept() override;
    bool focusNextPrevChild(bool next) override;

private:
    // A text of the template in the user's language.
    QString TemplateText(const char* text) const;
    void CreateControls();
    QWidget* CreateControl(const ControlTemplate& control);

    const DialogTemplate* m_template;
    std::map<int, QPointer<QWidget>> m_controls;
    // Every control in template order, and the ones Tab visits.
    std::vector<QPointer<QWidget>> m_ordered;
    std::vector<QPointer<QWidget>> m_tabChain;
    int m_baseX = 6;
    int m_baseY = 13;
    bool m_bCreated = false;
    bool m_bDialogKeys = true;
    bool m_bEnding = false;
};
