#pragma once

#include "platform/ui/CWnd.h"
#include "platform/ui/dialog_template.h"

#include <functional>
#include <memory>
#include <vector>

class CDataExchange;
class QEventLoop;

using INT_PTR = std::intptr_t;

// A dialog built from a template declared in code (see dialog_template.h):
// modal through DoModal, modeless (or a child page) through Create.
class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // template is unknown. Tests answer it through the modal-dialog hook.
    virtual INT_PTR DoModal();
    // Modeless: builds the window and runs OnInitDialog; a WS_CHILD template
    // becomes a page inside parent. Shown when the template says WS_VISIBLE.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Modal: ends the loop with result. Modeless: hides the window.
    void EndDialog(int result);
    UINT GetTemplateId() const { return m_templateId; }
    bool IsModalRunning() const { return m_modalRunning; }
    // The result EndDialog was given; -1 while the dialog has not ended.
    int GetEndResult() const { return m_endResult; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // FALSE (after telling the user) when a value does not convert.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Control colours: a brush, after setting up dc, or null for the
    // defaults. pWnd is the control (or the dialog for CTLCOLOR_DLG).
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    // Pushes button id as the user would: a click when there is such a
    // button (it must be enabled), else the command itself.
    void PressButton(int id);
    // The default push button's id, else IDOK.
    int GetDefaultButtonId() const;

    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    // Checks one radio button of first..last and clears the others.
    void CheckRadioButton(int first, int last, int check);
    int GetCheckedRadioButton(int first, int last) const;
    void MapDialogRect(LPRECT rect) const;
    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl() const;
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;

protected:
    UINT m_templateId = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    BOOL BuildWindow(const DlgTemplate& tmpl, CWnd* parent, bool modal);
    void ReleaseControls();

    std::vector<std::unique_ptr<CWnd>> m_controls; // one per template control
    QEventLoop* m_loop = nullptr;
    bool m_modalRunning = false;
    bool m_modal = false;
    int m_endResult = -1;
};

// Replaces the modal loop: the hook gets the dialog after OnInitDialog and
// returns the result (see platform/testing/dialog_answers.h). Returns the
// old hook; an empty function restores the loop.
using ModalDialogHook = std::function<long long(CDialog&)>;
ModalDialogHook SetModalDialogHook(ModalDialogHook hook);

// The controls of tmpl as children of parent (dialogs, dialog bars); the
// window objects go to owned.
void BuildDialogControls(const DlgTemplate& tmpl, CWnd* parent, std::vector<std::unique_ptr<CWnd>>& owned);
