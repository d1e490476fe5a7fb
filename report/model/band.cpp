#include "report/model/band.h"

#include <algorithm>

namespace rep {

TRepBand::TRepBand(TRepRun& report, TRepBandType type, const TRepDisplay& display)
    : BandType(type), Size(display), report_(report) {
    Size.SetOwner(this);
    Size.SetParentReport(&report);
    Size.SetUnits(report.Units());
}

TRepBand::~TRepBand() {
    for (TRepPrintable* p : std::vector<TRepPrintable*>(printables_)) p->SetParent(static_cast<TRepBand*>(nullptr));
}

void TRepBand::AddPrintable(TRepPrintable* p) {
    if (std::find(printables_.begin(), printables_.end(), p) == printables_.end()) printables_.push_back(p);
}

void TRepBand::RemovePrintable(TRepPrintable* p) {
    printables_.erase(std::remove(printables_.begin(), printables_.end(), p), printables_.end());
}

void TRepBand::SetPixelBounds(const TRepBounds& b) {
    bool resized = b.Width != bounds_.Width || b.Height != bounds_.Height;
    bounds_ = b;
    if (resized && !Size.ParentUpdating()) {
        for (TRepPrintable* p : printables_)
            if (p->AlignToBand) p->BandResized(this, 2);
    }
}

bool TRepBand::IsPageWide() const {
    switch (BandType) {
    case TRepBandType::rbTitle:
    case TRepBandType::rbPageHeader:
    case TRepBandType::rbPageFooter:
    case TRepBandType::rbSummary:
    case TRepBandType::rbOverlay: return true;
    default: return false;
    }
}

}  // namespace rep
