#pragma once

#include <array>
#include <vector>

#include "report/PrintEngine.h"

namespace tallora {

// The page geometry a print engine keeps for the report: each page's size, orientation and
// margins, the output area of pages made later, and the edges of the last object placed (with a
// copy kept by SavePosition). A new page takes the size and orientation of the last page and
// the output area as its margins, and its last-object edges start at its top-left corner.
class PageFrames {
public:
    struct Frame {
        double Width = 21.0;
        double Height = 29.7;
        Orientation PageOrientation = Orientation::Portrait;
        double LeftMargin = 0.0;
        double TopMargin = 0.0;
        double RightMargin = 21.0;
        double BottomMargin = 29.7;
    };

    PageFrames() { Reset(); }
    // One A4 portrait page, nothing placed.
    void Reset();

    const std::vector<Frame>& Frames() const { return frames_; }
    Frame& Current() { return frames_[current_]; }
    const Frame& Current() const { return frames_[current_]; }
    std::size_t CurrentIndex() const { return current_; }
    int Count() const { return static_cast<int>(frames_.size()); }

    void SetOutputArea(double left, double top, double right, double bottom);
    void SetMargin(PositionCode margin, double value);
    void SetOrientation(Orientation orientation);
    // The current page's size; its orientation follows from it.
    void SetSize(double width, double height);
    // A number as it is; LastBottom, LastRight or a margin of the current page. Free is a size,
    // not a position.
    double Resolve(Coord position) const;
    // An object was placed: its edges are the last ones. Gives its bottom.
    double Placed(double bottom, double right);
    void SavePosition() { saved_ = {lastBottom_, lastRight_}; }
    void RestorePosition();
    void NewPage();
    void Select(int page) { current_ = static_cast<std::size_t>(page - 1); }

private:
    std::vector<Frame> frames_;
    std::size_t current_ = 0;
    std::array<double, 4> outputArea_{};  // left, top, right, bottom
    double lastBottom_ = 0.0;
    double lastRight_ = 0.0;
    std::array<double, 2> saved_{};
};

}  // namespace tallora
