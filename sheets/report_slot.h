#pragma once
// Where a sheet's report component stands until the report engine is in place:
// the print commands call Preview on it, and nothing visible happens yet.
namespace SetReportCommon {

struct TReportSlot {
    int previewCalls = 0;
    void Preview() { ++previewCalls; }
};

}  // namespace SetReportCommon
