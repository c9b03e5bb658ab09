#include <cmath>

#include "support/RecordingPrintEngine.h"

#include <fstream>

#include "report/StyleCodes.h"

namespace tallora {

PlacedObject RecordingPrintEngine::LayOut(K kind, Coord x, Coord y, Coord x2, Coord y2,
                                          const std::string& text) const {
    PlacedObject o;
    o.What = kind;
    o.Page = static_cast<int>(frames_.CurrentIndex()) + 1;
    o.Text = text;
    o.FontName = font_;
    o.Pen = pen_;
    o.Fill = fill_;
    double width = 0.0;
    double height = 0.0;
    if (kind == K::Text || kind == K::FramedText) {
        const StyledText styled = ParseStyleCodes(text);
        o.Size = styled.Style.Size.value_or(styleValues_[static_cast<int>(StyleSetting::Two)]);
        o.TextColour = styled.Style.TextColour.value_or(textColour_);
        // Characters, not bytes: a pound sign is one.
        int characters = 0;
        for (const char c : styled.Text)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        width = CharWidth * characters * o.Size / 10.0;
        height = LineHeight * o.Size / 10.0;
    }
    const auto free = [](Coord c) { return c.IsCode() && c.Code() == PositionCode::Free; };
    o.Left = frames_.Resolve(x);
    o.Top = frames_.Resolve(y);
    o.Right = free(x2) ? o.Left + width : frames_.Resolve(x2);
    // Within a given width a text wraps onto as many lines as it needs, as on paper, unless
    // style setting Three keeps it to one.
    if (kind == K::Text && !free(x2) && styleValues_[static_cast<int>(StyleSetting::Three)] == 0 &&
        o.Right > o.Left && width > o.Right - o.Left)
        height *= std::ceil(width / (o.Right - o.Left));
    o.Bottom = free(y2) ? o.Top + height : frames_.Resolve(y2);
    return o;
}

double RecordingPrintEngine::Place(const char* operation, PlacedObject object) {
    Record(operation);
    const double bottom = frames_.Placed(object.Bottom, object.Right);
    objects_.push_back(std::move(object));
    return bottom;
}

void RecordingPrintEngine::DoOpenDoc() {
    objects_.clear();
    frames_.Reset();
    styleValues_ = {0, 10, 0};
    Record("OpenDoc");
}

bool RecordingPrintEngine::DoSaveDocument(const std::filesystem::path& file) {
    Record("SaveDocument");
    if (FailSave) {
        SetSaveError("Permission denied");
        return false;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << Dump();
    out.close();
    return static_cast<bool>(out);
}

std::string RecordingPrintEngine::Dump() const {
    std::string out;
    for (const PlacedObject& o : objects_) out += std::to_string(o.Page) + ": " + o.Text + '\n';
    return out;
}

}  // namespace tallora
