// The auto-click cycle: the main window's pre-translation (validation and hot keys) and its
// tick handler. Everything runs on the one UI thread; a tick can run nested inside the
// pre-translation while one of its message boxes is up, and touches only the count and label.
#include "engine/click_rules.h"
#include "engine/rate_entry.h"
#include "res/texts.h"
#include "ui/kestrin_dlg.h"

BOOL CKestrinDlg::PreTranslateMessage(MSG* pMsg) {
    // Every message re-reads and re-validates the rate field.
    UpdateData(TRUE);
    m_nRate = 0;
    const bool accepted = ParseRate(m_strRate, m_nRate);
    UpdateData(FALSE);
    if (!accepted) {
        // The message is still dispatched, but not acted on as a hot key and not given to the
        // dialog's own keyboard handling: an Enter with a bad rate does not press Close.
        AfxMessageBox(CString(kestrin::res::kReenterText), MB_OK);
        return FALSE;
    }

    // With no rate set (empty field, 0, a lone plus sign) both hot keys are ignored.
    if (pMsg->message == WM_HOTKEY && m_nRate != 0) {
        switch (pMsg->wParam) {
            case HOTKEY_START: {
                const int unit = m_comboUnit.GetCurSel();
                m_staticCount.SetWindowText(CountResetText());
                // Replaces a running timer; the period counts from now.
                SetTimer(TIMER_CLICK, ClickPeriodMs(m_nRate, unit), nullptr);
                break;
            }
            case HOTKEY_STOP:
                m_nCount = 0;
                KillTimer(TIMER_CLICK);  // the label keeps its last text
                break;
            default:
                break;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CKestrinDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_CLICK) {
        // A pointer that cannot be read (a secure desktop, another screen, a display system
        // without a global position) is left where it is: placing it at whatever the failed
        // read left would click in the screen's corner. The burst still goes out.
        CPoint pointer;
        if (GetCursorPos(&pointer)) SetCursorPos(pointer.x, pointer.y);

        // Mode and unit are read live: a change takes effect at the very next tick.
        SendMouseBurst(BurstFor(m_comboMode.GetCurSel()));

        if (TooFastToShow(m_nRate, m_comboUnit.GetCurSel())) {
            // The label cannot be redrawn this often: only the first tick after a stop says so.
            if (m_nCount == 0) m_staticCount.SetWindowText(CountTooFastText());
            m_nCount = NextCount(m_nCount);
        } else {
            m_nCount = NextCount(m_nCount);
            m_staticCount.SetWindowText(CountText(m_nCount));
        }
    }
    Default();
}
