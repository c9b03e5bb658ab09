#include "report/PageFrames.h"

#include <stdexcept>

namespace tallora {

void PageFrames::Reset() {
    frames_.assign(1, Frame{});
    current_ = 0;
    outputArea_ = {0.0, 0.0, 21.0, 29.7};
    lastBottom_ = 0.0;
    lastRight_ = 0.0;
    saved_ = {0.0, 0.0};
}

void PageFrames::SetOutputArea(double left, double top, double right, double bottom) {
    outputArea_ = {left, top, right, bottom};
}

void PageFrames::SetMargin(PositionCode margin, double value) {
    Frame& frame = Current();
    switch (margin) {
        case PositionCode::LeftMargin:
            frame.LeftMargin = value;
            break;
        case PositionCode::TopMargin:
            frame.TopMargin = value;
            break;
        case PositionCode::RightMargin:
            frame.RightMargin = value;
            break;
        case PositionCode::BottomMargin:
            frame.BottomMargin = value;
            break;
        default:
            break;
    }
}

void PageFrames::SetOrientation(Orientation orientation) {
    Frame& frame = Current();
    if (frame.PageOrientation != orientation) std::swap(frame.Width, frame.Height);
    frame.PageOrientation = orientation;
}

void PageFrames::SetSize(double width, double height) {
    Frame& frame = Current();
    frame.Width = width;
    frame.Height = height;
    frame.PageOrientation = width > height ? Orientation::Landscape : Orientation::Portrait;
}

double PageFrames::Resolve(Coord position) const {
    if (!position.IsCode()) return position.Value();
    const Frame& frame = Current();
    switch (position.Code()) {
        case PositionCode::LastBottom:
            return lastBottom_;
        case PositionCode::LastRight:
            return lastRight_;
        case PositionCode::LeftMargin:
            return frame.LeftMargin;
        case PositionCode::TopMargin:
            return frame.TopMargin;
        case PositionCode::RightMargin:
            return frame.RightMargin;
        case PositionCode::BottomMargin:
            return frame.BottomMargin;
        case PositionCode::Free:
            break;
    }
    throw std::invalid_argument("Free is a size, not a position");
}

void PageFrames::RestorePosition() {
    lastBottom_ = saved_[0];
    lastRight_ = saved_[1];
}

double PageFrames::Placed(double bottom, double right) {
    lastBottom_ = bottom;
    lastRight_ = right;
    return lastBottom_;
}

void PageFrames::NewPage() {
    Frame frame = frames_.back();
    frame.LeftMargin = outputArea_[0];
    frame.TopMargin = outputArea_[1];
    frame.RightMargin = outputArea_[2];
    frame.BottomMargin = outputArea_[3];
    frames_.push_back(frame);
    current_ = frames_.size() - 1;
    lastBottom_ = frame.TopMargin;
    lastRight_ = frame.LeftMargin;
}

}  // namespace tallora
