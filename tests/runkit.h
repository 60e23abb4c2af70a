#pragma once
// The extraction run as the audio tests watch it.
#include <functional>
#include <string>
#include <vector>

#include "audio/extract.h"

// Records what a run tells the user, in order: "row:" for a log row, "box:" for a message box. onRow runs as
// each row arrives, so a test can change the disk at a known step of the run.
struct Recorder : IExtractReport {
    std::vector<std::string> events;
    std::function<void(const std::string&)> onRow;
    void WriteLogRow(const CString& text) override
    {
        events.push_back("row:" + text);
        if (onRow)
            onRow(text);
    }
    void ShowMessage(const char* format, const CString& path, int) override
    {
        events.push_back("box:" + FormatText(format, path.c_str()));
    }
    // The reason each result gave, in order.
    std::vector<std::string> reasons;
    void Result(const CExtractResult& result) override { reasons.push_back(result.strError); }
};

inline std::vector<std::string> Extract(const std::vector<CString>& sources, const CExtractOptions& options = {})
{
    Recorder recorder;
    RunExtraction(sources, recorder, options);
    return recorder.events;
}
