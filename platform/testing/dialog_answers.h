#pragma once

// Scripted answers for the modal windows a test runs into: message boxes,
// modal dialogs, the folder browser and the colour chooser. Each script
// installs itself for its lifetime; a window nobody scripted fails the test.
// Header-only: it reports through GoogleTest, which only tests link.

#include "platform/core/CString.h"
#include "platform/ui/CColorDialog.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/folder_browser.h"
#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Answers message boxes in order. Expect(fragment, answer) answers the next
// box only when its text contains fragment; Answer(answer) any next box.
class MessageBoxScript {
public:
    MessageBoxScript()
    {
        m_old = SetMessageBoxHook([this](const MessageBoxRequest& r) { return OnBox(r); });
    }
    ~MessageBoxScript()
    {
        SetMessageBoxHook(std::move(m_old));
        for (const Step& s : m_steps)
            ADD_FAILURE() << "message box never shown: \"" << s.fragment.ToUtf8() << "\"";
    }
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    MessageBoxScript& Expect(const CString& fragment, int answer)
    {
        m_steps.push_back({fragment, answer});
        return *this;
    }
    MessageBoxScript& Answer(int answer) { return Expect(CString(), answer); }

    // Every box shown so far, answered or not.
    const std::vector<MessageBoxRequest>& Shown() const { return m_shown; }
    bool Done() const { return m_steps.empty(); }

private:
    struct Step {
        CString fragment;
        int answer;
    };

    int OnBox(const MessageBoxRequest& r)
    {
        m_shown.push_back(r);
        const int refuse = (r.type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
        if (m_steps.empty()) {
            ADD_FAILURE() << "unexpected message box: \"" << r.text.ToUtf8() << "\"";
            return refuse;
        }
        const Step step = m_steps.front();
        m_steps.pop_front();
        if (!step.fragment.IsEmpty() && r.text.Find(step.fragment.GetString()) < 0) {
            ADD_FAILURE() << "message box \"" << r.text.ToUtf8() << "\" where one with \""
                          << step.fragment.ToUtf8() << "\" was expected";
            return refuse;
        }
        return step.answer;
    }

    MessageBoxHook m_old;
    std::deque<Step> m_steps;
    std::vector<MessageBoxRequest> m_shown;
};

// Answers modal dialogs in order. A handler gets the dialog after its
// OnInitDialog, may set and read its controls or press its buttons, and
// returns the result; when the handler ended the dialog itself (a pressed
// OK that the dialog accepted) DoModal returns that dialog's own result.
class ModalDialogScript {
public:
    using Handler = std::function<long long(CDialog&)>;

    ModalDialogScript()
    {
        m_old = SetModalDialogHook([this](CDialog& d) { return OnDialog(d); });
    }
    ~ModalDialogScript()
    {
        SetModalDialogHook(std::move(m_old));
        if (!m_handlers.empty())
            ADD_FAILURE() << m_handlers.size() << " modal dialog(s) never shown";
    }
    ModalDialogScript(const ModalDialogScript&) = delete;
    ModalDialogScript& operator=(const ModalDialogScript&) = delete;

    ModalDialogScript& Then(Handler handler)
    {
        m_handlers.push_back(std::move(handler));
        return *this;
    }
    // A dialog that is simply answered with result, nothing pressed.
    ModalDialogScript& Answer(long long result)
    {
        return Then([result](CDialog&) { return result; });
    }
    int Shown() const { return m_shown; }

private:
    long long OnDialog(CDialog& dialog)
    {
        ++m_shown;
        if (m_handlers.empty()) {
            ADD_FAILURE() << "unexpected modal dialog " << dialog.GetTemplateId();
            return IDCANCEL;
        }
        Handler handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        return handler(dialog);
    }

    ModalDialogHook m_old;
    std::deque<Handler> m_handlers;
    int m_shown = 0;
};

// Answers the folder browser with the given folders in order ("" = cancel).
class FolderBrowserScript {
public:
    explicit FolderBrowserScript(std::vector<CString> answers) : m_answers(answers.begin(), answers.end())
    {
        m_old = SetFolderBrowserHook([this](const CString& title) {
            m_titles.push_back(title);
            if (m_answers.empty()) {
                ADD_FAILURE() << "unexpected folder browser: \"" << title.ToUtf8() << "\"";
                return CString();
            }
            CString a = m_answers.front();
            m_answers.pop_front();
            return a;
        });
    }
    ~FolderBrowserScript()
    {
        SetFolderBrowserHook(std::move(m_old));
        if (!m_answers.empty())
            ADD_FAILURE() << "folder browser never shown";
    }
    const std::vector<CString>& Titles() const { return m_titles; }

private:
    FolderBrowserHook m_old;
    std::deque<CString> m_answers;
    std::vector<CString> m_titles;
};

// Answers the colour chooser: a colour means OK with it, CLR_INVALID cancel.
class ColorDialogScript {
public:
    explicit ColorDialogScript(std::vector<COLORREF> answers) : m_answers(answers.begin(), answers.end())
    {
        m_old = SetColorDialogHook([this](COLORREF initial, COLORREF& chosen) {
            m_initial.push_back(initial);
            if (m_answers.empty()) {
                ADD_FAILURE() << "unexpected colour dialog";
                return false;
            }
            const COLORREF a = m_answers.front();
            m_answers.pop_front();
            if (a == CLR_INVALID)
                return false;
            chosen = a;
            return true;
        });
    }
    ~ColorDialogScript()
    {
        SetColorDialogHook(std::move(m_old));
        if (!m_answers.empty())
            ADD_FAILURE() << "colour dialog never shown";
    }
    const std::vector<COLORREF>& Initial() const { return m_initial; }

private:
    ColorDialogHook m_old;
    std::deque<COLORREF> m_answers;
    std::vector<COLORREF> m_initial;
};
