#pragma once
// A report and an owner control for geometry tests: they record what the geometry
// objects ask of them.
#include <functional>
#include <vector>

#include "report/model/unit_base.h"

namespace geometry_test {

// Records every bounds push and whether the geometry object flagged it as its own.
class RecordingOwner : public rep::TRepSizeOwner {
public:
    explicit RecordingOwner(const rep::TRepUnitBase* size = nullptr, rep::TRepBounds start = {})
        : size_(size), bounds_(start) {}
    void Watch(const rep::TRepUnitBase* size) { size_ = size; }

    rep::TRepBounds PixelBounds() const override { return bounds_; }
    void SetPixelBounds(const rep::TRepBounds& b) override {
        bounds_ = b;
        pushes.push_back(b);
        flaggedAsOwn.push_back(size_ && size_->ParentUpdating());
    }

    std::vector<rep::TRepBounds> pushes;
    std::vector<bool> flaggedAsOwn;

private:
    const rep::TRepUnitBase* size_;
    rep::TRepBounds bounds_;
};

class RecordingReport : public rep::TRepParentReport {
public:
    int FontSize() const override { return fontSize; }
    void RelayoutBands() override {
        ++relayouts;
        if (onRelayout) onRelayout();
    }
    void Repaint() override { ++repaints; }
    void ReapplyUnits() override { ++unitReapplies; }

    int fontSize = 10;
    int relayouts = 0;
    int repaints = 0;
    int unitReapplies = 0;
    std::function<void()> onRelayout;
};

}  // namespace geometry_test
