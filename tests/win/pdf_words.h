#pragma once
// Words of a printed PDF with their boxes, for tests that check where a value landed on
// the paper.
//
// How: the CUPS PDF queue writes each job as <title>-job_<n>.pdf into its folder
// (printer_env::PdfDir, Z:\... under Wine). A Windows test cannot read a PDF's text
// itself, but under Wine CreateProcessW on a Linux program runs it natively (without a
// process handle to wait on), so hostfiles::runHost runs the host's
//     pdftotext -bbox <job.pdf> <words.html>
// through /bin/sh and reports the exit status in a file it waits for. The words file is
// then read from Windows and parsed here. Usage:
//     const std::wstring job = pdfwords::WaitForJob(L"my_title");   // "" on timeout
//     const auto pages = pdfwords::Read(job);                       // nullopt: no pdftotext
//     pages->at(0).Find("Alpha")->xMin                              // points from top-left
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/win/host_files.h"
#include "tests/win/printer_env.h"

namespace pdfwords {

constexpr double kPointsPerMm = 72.0 / 25.4;
inline double PointsToMm(double points) { return points / kPointsPerMm; }

struct Word {
    std::string text;  // UTF-8
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;  // points, from the page's top-left corner
};

struct Page {
    double width = 0, height = 0;  // points
    std::vector<Word> words;

    const Word* Find(const std::string& text) const {
        for (const Word& w : words)
            if (w.text == text) return &w;
        return nullptr;
    }
    int Count(const std::string& text) const {
        int n = 0;
        for (const Word& w : words) n += w.text == text;
        return n;
    }
};

namespace detail {

inline std::string Attribute(const std::string& tag, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const auto at = tag.find(key);
    if (at == std::string::npos) return {};
    const auto start = at + key.size();
    const auto end = tag.find('"', start);
    return end == std::string::npos ? std::string() : tag.substr(start, end - start);
}

inline double Number(const std::string& tag, const std::string& name) {
    return std::strtod(Attribute(tag, name).c_str(), nullptr);
}

inline std::string Unescape(const std::string& s) {
    static const std::pair<const char*, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        bool replaced = false;
        if (s[i] == '&') {
            for (const auto& [entity, c] : kEntities) {
                const std::string e = entity;
                if (s.compare(i, e.size(), e) == 0) {
                    out += c;
                    i += e.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += s[i++];
    }
    return out;
}

}  // namespace detail

// The pages of `pdftotext -bbox` output: <page width= height=> holding
// <word xMin= yMin= xMax= yMax=>text</word>.
inline std::vector<Page> Parse(const std::string& html) {
    std::vector<Page> pages;
    for (std::size_t at = 0; (at = html.find('<', at)) != std::string::npos;) {
        const auto close = html.find('>', at);
        if (close == std::string::npos) break;
        const std::string tag = html.substr(at, close - at + 1);
        if (tag.rfind("<page ", 0) == 0) {
            pages.push_back({detail::Number(tag, "width"), detail::Number(tag, "height"), {}});
        } else if (tag.rfind("<word ", 0) == 0 && !pages.empty()) {
            const auto end = html.find("</word>", close);
            if (end == std::string::npos) break;
            pages.back().words.push_back({detail::Unescape(html.substr(close + 1, end - close - 1)),
                                          detail::Number(tag, "xMin"), detail::Number(tag, "yMin"),
                                          detail::Number(tag, "xMax"), detail::Number(tag, "yMax")});
            at = end;
            continue;
        }
        at = close;
    }
    return pages;
}

// The words of a PDF on the host's root drive (Z:). nullopt when the host's pdftotext
// cannot be run or fails; an empty list for a PDF without pages.
inline std::optional<std::vector<Page>> Read(const std::wstring& pdf) {
    const auto in = hostfiles::hostPath(pdf);
    if (!in) return std::nullopt;
    static int serial = 0;
    const std::string out = "/tmp/blk-pdfwords-" + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(++serial) + ".html";
    const auto rc = hostfiles::runHost("pdftotext -bbox '" + *in + "' '" + out + "' 2>/dev/null", 30000);
    std::wstring outWin = L"Z:";
    for (char c : out) outWin += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    const auto html = hostfiles::readBytes(outWin);
    DeleteFileW(outWin.c_str());
    if (!rc || *rc != 0 || !html) return std::nullopt;
    return Parse(*html);
}

// Waits until the queue has written the one job whose file name starts with `prefix`
// (the document name, spaces as "_") and returns its path; empty after `seconds`.
inline std::wstring WaitForJob(const std::wstring& prefix, int seconds = 30) {
    if (printer_env::WaitForPdf(prefix, seconds).empty()) return {};
    const auto files = printer_env::PdfFiles(prefix);
    return files.empty() ? std::wstring() : files.front();
}

// The one page of the job whose file name starts with `prefix`, the job's file then deleted;
// nothing when no job came, or it had another number of pages.
inline std::optional<Page> TakeOnePageJob(const std::wstring& prefix) {
    const std::wstring job = WaitForJob(prefix);
    if (job.empty()) return std::nullopt;
    auto pages = Read(job);
    DeleteFileW(job.c_str());
    if (!pages || pages->size() != 1) return std::nullopt;
    return pages->front();
}

}  // namespace pdfwords
