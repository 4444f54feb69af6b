#pragma once

// Fresh globals for every test of the document and its files, and a
// DocumentUi that collects what the document prints.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/DocumentUi.h"
#include "geometry/GeometryState.h"

class RecordingUi : public DocumentUi {
public:
    bool WorkerBusy() override { return workerBusy; }
    bool RunSaveDialog() override { return Answer(); }
    bool RunOpenDialog() override { return Answer(); }

    // The next dialog answers OK with this name, path and type.
    void WillChoose(const CString& name, const CString& path, int type)
    {
        m_answer = {true, name, path, type};
    }
    void WillCancel() { m_answer = {}; }

    bool Printed(const CString& text) const
    {
        for (const CString& line : m_lines) {
            if (line == text)
                return true;
        }
        return false;
    }
    std::string Lines() const
    {
        std::string all;
        for (const CString& line : m_lines)
            all += line.ToUtf8() + "\n";
        return all;
    }

    bool workerBusy = false;
    int dialogs = 0;

private:
    struct Answer_ {
        bool ok = false;
        CString name, path;
        int type = 0;
    } m_answer;

    bool Answer()
    {
        ++dialogs;
        if (!m_answer.ok)
            return false;
        g_currentFileName = m_answer.name;
        g_currentFilePath = m_answer.path;
        g_fileDialogType = m_answer.type;
        return true;
    }
};

class AppTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        ResetAppState();
        g_pDocUi = &ui;
    }
    void TearDown() override
    {
        g_pDocUi = nullptr;
        ResetAppState();
        ResetGeometryState();
    }

    RecordingUi ui;
};
