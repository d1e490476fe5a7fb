#pragma once
// The small window shown while a report is printed or exported: a progress bar, the
// percentage, and a Cancel button that asks the report printer to stop.
#include <windows.h>

#include "ui/controls.h"
#include "ui/form.h"

namespace rep {

class TRepPrinter;

// A plain progress bar, 0..100.
class TRepGauge : public ui::Window {
public:
    TRepGauge(ui::Window& parent, int x, int y, int w, int h);
    void SetPosition(int percent);
    int Position() const;
};

class TRepProgressForm : public ui::Form {
public:
    TRepProgressForm();

    // The report printer it reports on; set by the creator, not owned.
    TRepPrinter* ReportPrinter = nullptr;

    ui::Label* Info = nullptr;
    ui::Button* CancelButton = nullptr;
    TRepGauge* Gauge = nullptr;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void CancelButtonClick();
    void ProgressMessage();
    void PageMessage(int pages);
};

}  // namespace rep
