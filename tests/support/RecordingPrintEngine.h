#pragma once

#include <array>
#include <string>
#include <vector>

#include "report/PageFrames.h"
#include "report/PrintEngine.h"

namespace tallora {

// An object placed on a page, with the style its text resolved to.
struct PlacedObject {
    enum class Kind { Text, FramedText, Box, Picture };
    Kind What = Kind::Text;
    int Page = 1;
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
    std::string Text;  // as handed over, style group included; a picture's resource name
    std::string FontName;
    int Size = 0;  // points
    Colour TextColour = Black;
    Colour Pen = Black;
    Colour Fill = White;
};

// A print engine that keeps what it is asked to do. Its metrics are simple on purpose: at 10
// points every character is CharWidth wide and a line is LineHeight high, both in proportion to
// the size; a text given a width wraps onto whole lines, and pictures take no room. A text's size
// is its S code, else the value of style setting Two (10 until set). SaveDocument writes Dump to
// the file, or fails when told to. The record stays readable after CloseDoc, until the next
// OpenDoc.
class RecordingPrintEngine : public PrintEngine {
public:
    double CharWidth = 0.2;   // cm per character at 10 points
    double LineHeight = 0.5;  // cm per line at 10 points
    bool FailSave = false;

    // The operations called, by name.
    const std::vector<std::string>& Calls() const { return calls_; }
    const std::vector<PlacedObject>& Objects() const { return objects_; }
    const std::vector<PageFrames::Frame>& Pages() const { return frames_.Frames(); }
    int StyleValue(StyleSetting setting) const { return styleValues_[static_cast<int>(setting)]; }
    // One line per object: its page and its text.
    std::string Dump() const;

protected:
    using K = PlacedObject::Kind;
    void DoOpenDoc() override;
    void DoCloseDoc() override { Record("CloseDoc"); }
    void DoSetDocFileReadOnly(bool) override { Record("SetDocFileReadOnly"); }
    void DoSetOutputArea(double left, double top, double right, double bottom) override {
        Frames("SetOutputArea").SetOutputArea(left, top, right, bottom);
    }
    void DoSetMargin(PositionCode margin, double value) override {
        Frames("SetMargin").SetMargin(margin, value);
    }
    double DoGetMargin(PositionCode margin) const override { return frames_.Resolve(margin); }
    double DoGetPosition(PositionCode code) const override { return frames_.Resolve(code); }
    double DoPageWidth() const override { return frames_.Current().Width; }
    double DoPageHeight() const override { return frames_.Current().Height; }
    Orientation DoPageOrientation() const override { return frames_.Current().PageOrientation; }
    void DoSetPageSize(double width, double height) override {
        Frames("SetPageSize").SetSize(width, height);
    }
    void DoSetPageOrientation(Orientation orientation) override {
        Frames("SetPageOrientation").SetOrientation(orientation);
    }
    void DoSetFontName(const std::string& name) override { font_ = Recorded("SetFontName", name); }
    void DoSetStyleValue(StyleSetting setting, int value) override {
        styleValues_[static_cast<int>(setting)] = Recorded("SetStyleValue", value);
    }
    void DoSetPenWidth(double) override { Record("SetPenWidth"); }
    void DoSetPenColour(Colour colour) override { pen_ = Recorded("SetPenColour", colour); }
    void DoSetFillColour(Colour colour) override { fill_ = Recorded("SetFillColour", colour); }
    Colour DoFillColour() const override { return fill_; }
    void DoSetTextColour(Colour colour) override {
        textColour_ = Recorded("SetTextColour", colour);
    }
    double DoWriteText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) override {
        return Place("WriteText", LayOut(K::Text, x, y, x2, y2, text));
    }
    double DoWriteFramedText(Coord x, Coord y, Coord x2, Coord y2,
                             const std::string& text) override {
        return Place("WriteFramedText", LayOut(K::FramedText, x, y, x2, y2, text));
    }
    void DoDrawBox(Coord x, Coord y, Coord x2, Coord y2) override {
        Place("DrawBox", LayOut(K::Box, x, y, x2, y2, {}));
    }
    void DoDrawPicture(const std::string& resource, Coord x, Coord y, Coord x2, Coord y2) override {
        Place("DrawPicture", LayOut(K::Picture, x, y, x2, y2, resource));
    }
    void DoMeasureText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) override {
        measured_ = Recorded("MeasureText", LayOut(K::Text, x, y, x2, y2, text));
    }
    double DoMeasuredWidth() const override { return measured_.Right - measured_.Left; }
    double DoMeasuredHeight() const override { return measured_.Bottom - measured_.Top; }
    void DoSavePosition() override { Frames("SavePosition").SavePosition(); }
    void DoRestorePosition() override { Frames("RestorePosition").RestorePosition(); }
    void DoNewPage() override { Frames("NewPage").NewPage(); }
    int DoPageCount() const override { return frames_.Count(); }
    void DoSelectPage(int page) override { Frames("SelectPage").Select(page); }
    bool DoSaveDocument(const std::filesystem::path& file) override;

private:
    void Record(const char* operation) { calls_.emplace_back(operation); }
    template <class T>
    T Recorded(const char* operation, T value) {
        Record(operation);
        return value;
    }
    // The page geometry, for an operation that changes it.
    PageFrames& Frames(const char* operation) {
        Record(operation);
        return frames_;
    }
    PlacedObject LayOut(K kind, Coord x, Coord y, Coord x2, Coord y2,
                        const std::string& text) const;
    double Place(const char* operation, PlacedObject object);

    std::vector<std::string> calls_;
    std::vector<PlacedObject> objects_;
    PageFrames frames_;
    std::string font_;
    std::array<int, 3> styleValues_{0, 10, 0};
    Colour pen_ = Black;
    Colour fill_ = White;
    Colour textColour_ = Black;
    PlacedObject measured_;
};

}  // namespace tallora
