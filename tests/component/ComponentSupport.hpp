// What the component tests share: a stored property set compared key by key, and a message-box
// service that records instead of showing.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "button/PropertyBag.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace tarvex::qt::testing {

// The set a control writes back (WriteProperties): what makes two controls the same.
inline PropertyBag StoredSet(const TarvexButtonWidget& widget) {
    PropertyBag bag;
    ButtonOf(widget).WriteProperties(bag);
    return bag;
}

inline std::string Describe(const PropertyValue& v) {
    switch (v.Kind()) {
        case PropertyKind::Font: {
            const FontRef& f = v.FontValue();
            return f ? f->Name() + " " + std::to_string(f->SizeTenThousandths()) +
                           (f->Bold() ? " bold" : "") + (f->Italic() ? " italic" : "") +
                           (f->Underline() ? " underline" : "") +
                           (f->Strikethrough() ? " strikethrough" : "")
                     : "no font";
        }
        case PropertyKind::Picture:
            return v.PictureValue() ? "a picture" : "no picture";
        case PropertyKind::String:
            return "\"" + v.Text() + "\"";
        default:
            return std::string(KindName(v.Kind())) + " " + std::to_string(v.Number());
    }
}

// Same keys in the same order, each with the same kind and value.
inline void ExpectSameStoredSet(const PropertyBag& expected, const PropertyBag& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [key, value] = expected.Entries()[i];
        const auto& [otherKey, other] = actual.Entries()[i];
        EXPECT_EQ(key, otherKey);
        EXPECT_EQ(Describe(value), Describe(other)) << key;
    }
}

// Installs a recording message-box service for the lifetime of the object.
class RecordedBoxes {
  public:
    RecordedBoxes() : previous_(SetMessageBoxService(boxes_)) {}
    ~RecordedBoxes() { SetMessageBoxService(previous_); }
    RecordedBoxes(const RecordedBoxes&) = delete;
    RecordedBoxes& operator=(const RecordedBoxes&) = delete;
    const std::vector<RecordingMessageBoxService::Box>& shown() const { return boxes_->shown; }

  private:
    std::shared_ptr<RecordingMessageBoxService> boxes_ =
        std::make_shared<RecordingMessageBoxService>();
    std::shared_ptr<MessageBoxService> previous_;
};

}  // namespace tarvex::qt::testing
