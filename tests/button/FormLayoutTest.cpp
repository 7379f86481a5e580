// Stored window layouts on disk: the main window's file, writing and reading back, pictures by
// relative path, and refusal of malformed files with the file and the place named.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "button/FormLayout.hpp"

namespace tarvex {
namespace {

namespace fs = std::filesystem;

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("vornik-layout-" + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

void WriteText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

std::string ErrorOf(const fs::path& file) {
    try {
        ReadFormLayout(file);
    } catch (const LayoutError& e) {
        return e.what();
    }
    return "no error";
}

const fs::path kMainWindow = fs::path(VORNIK_RESOURCES_DIR) / "frmVornik.layout.json";

TEST(MainWindowLayout, HoldsTheTwelveControlsInTabOrder) {
    const FormLayout layout = ReadFormLayout(kMainWindow);
    EXPECT_EQ(layout.name, "frmVornik");
    EXPECT_EQ(layout.caption, "Vornik 1.2");
    EXPECT_EQ(layout.width, 3870);
    EXPECT_EQ(layout.height, 3450);
    std::vector<std::string> names;
    for (const auto& c : layout.controls) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Label1", "Label2", "Text1", "CmdBrowse",
                                               "TarvexButton1", "Check1", "Check2", "Label3",
                                               "CmdChange", "Check3", "Image1", "CommonDialog1"}));
    const LayoutControl& browse = *layout.Find("cmdbrowse");
    EXPECT_EQ(browse.position, (LayoutRect{3360, 1080, 375, 255}));
    EXPECT_EQ(browse.tabIndex, 3);
    EXPECT_EQ(browse.toolTipText, "Browse for image");
    EXPECT_EQ(browse.container, "frmVornik");
    EXPECT_EQ(browse.properties.ReadInt32("_EXTENTX", 0), 661);
    EXPECT_EQ(browse.properties.ReadInt32("_extenty", 0), 450);
    EXPECT_FALSE(layout.Find("CommonDialog1")->position.has_value());
    EXPECT_EQ(layout.Find("Check3")->properties.ReadInt32("forecolor", 0), 0x000000FF);
    // Without a loader the picture keeps its file, resolved next to the layout.
    PictureRef image = layout.Find("Image1")->properties.ReadPicture("picture", nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(fs::path(image->SourcePath()).filename(), "Image1.png");
    EXPECT_TRUE(fs::exists(image->SourcePath()));
}

TEST(LayoutRoundTrip, WrittenAndReadBackUnchangedWithRelativePictures) {
    TempDir dir;
    fs::create_directories(dir.path() / "pics");
    WriteText(dir.path() / "pics" / "go.ico", "not decoded here");

    std::vector<fs::path> asked;
    PictureLoader loader = [&](const fs::path& file) -> PictureRef {
        asked.push_back(file);
        if (!fs::exists(file)) throw std::runtime_error("no such file");
        return std::make_shared<Picture>(gdi::Surface(4, 4), kPicTypeIcon);
    };

    FormLayout layout;
    layout.name = "frmTest";
    layout.caption = "Test";
    layout.width = 3000;
    layout.height = 2000;
    LayoutControl c;
    c.kind = "TarvexButton";
    c.name = "Opt";
    c.index = 2;
    c.container = "Frame1";
    c.containerIndex = 0;
    c.position = LayoutRect{15, 30, 1200, 375};
    c.tabIndex = 1;
    auto icon = std::make_shared<Picture>(gdi::Surface(4, 4), kPicTypeIcon);
    icon->SetSourcePath((dir.path() / "pics" / "go.ico").string());
    c.properties.WritePicture("BTNICON", icon);
    c.properties.WriteInt32("BTYPE", 8);
    c.properties.WriteString("TX", "Caf\xC3\xA9 \"quoted\"");
    c.properties.WriteBoolean("ENAB", kFalse);
    c.properties.WriteInt32("BCOL", static_cast<std::int32_t>(0x8000000Fu));
    FontRef font = FontObject::Create("Times New Roman", 82500);
    font->SetItalic(true);
    c.properties.WriteFont("FONT", font);
    c.properties.Write("MICON", PropertyValue::Picture(nullptr));
    layout.controls.push_back(std::move(c));

    const fs::path file = dir.path() / "form.layout.json";
    WriteFormLayout(layout, file);
    EXPECT_FALSE(fs::exists(dir.path() / "form.layout.json.tmp"));
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("\"picture\": \"pics/go.ico\""), std::string::npos) << text;

    const FormLayout back = ReadFormLayout(file, loader);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], (dir.path() / "pics" / "go.ico").lexically_normal());
    ASSERT_EQ(back.controls.size(), 1u);
    const LayoutControl& r = back.controls[0];
    EXPECT_EQ(r.index, 2);
    EXPECT_EQ(r.container, "Frame1");
    EXPECT_EQ(r.containerIndex, 0);
    EXPECT_EQ(r.position, (LayoutRect{15, 30, 1200, 375}));
    EXPECT_EQ(r.properties.ReadInt32("btype", 0), 8);
    EXPECT_EQ(r.properties.ReadString("tx", ""), "Caf\xC3\xA9 \"quoted\"");
    EXPECT_EQ(r.properties.ReadBoolean("enab", kTrue), kFalse);
    EXPECT_EQ(r.properties.ReadInt32("bcol", 0), static_cast<std::int32_t>(0x8000000Fu));
    FontRef f = r.properties.ReadFont("font", nullptr);
    EXPECT_EQ(f->Name(), "Times New Roman");
    EXPECT_EQ(f->SizeTenThousandths(), 82500);
    EXPECT_TRUE(f->Italic());
    EXPECT_EQ(r.properties.ReadPicture("MICON", icon), nullptr);
    EXPECT_TRUE(r.properties.ReadPicture("btnicon", nullptr)->HasHandle());

    // Written again from what was read, the file is the same.
    const fs::path again = dir.path() / "again.layout.json";
    WriteFormLayout(back, again);
    std::ifstream in2(again);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in2)), {}), text);
}

TEST(LayoutRoundTrip, APictureFromNoFileCannotBeWrittenAndTheOldFileStays) {
    TempDir dir;
    const fs::path file = dir.path() / "form.layout.json";
    WriteText(file, "earlier");
    FormLayout layout;
    layout.name = "f";
    LayoutControl c;
    c.kind = "TarvexButton";
    c.name = "B";
    c.properties.WritePicture("BTNICON",
                              std::make_shared<Picture>(gdi::Surface(4, 4), kPicTypeIcon));
    layout.controls.push_back(std::move(c));
    EXPECT_THROW(WriteFormLayout(layout, file), LayoutError);
    std::ifstream in(file);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "earlier");
    EXPECT_THROW(WriteFormLayout(FormLayout{}, dir.path() / "missing" / "x.json"), LayoutError);
}

TEST(MalformedLayouts, NotJsonNamesTheFileLineAndColumn) {
    TempDir dir;
    const fs::path file = dir.path() / "broken.layout.json";
    WriteText(file, "{\n  \"format\": \"vornik-form-layout\",\n  \"version\": 1,,\n}");
    const std::string error = ErrorOf(file);
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_NE(error.find("line 3, column 16"), std::string::npos) << error;

    // A number past the range of a double is the same kind of fault, at the number.
    WriteText(file, "{\n  \"format\": \"vornik-form-layout\",\n  \"version\": 1e400\n}");
    EXPECT_EQ(ErrorOf(file),
              file.string() + ": line 3, column 14: the number 1e400 is out of range");
}

TEST(MalformedLayouts, WrongMembersNameTheFileAndTheirPath) {
    TempDir dir;
    const std::string head =
        R"({"format": "vornik-form-layout", "version": 1,
            "form": {"name": "f", "width": 10, "height": 10}, "controls": [)";
    struct Case {
        std::string controls;
        std::string place;
    };
    const std::vector<Case> cases = {
        {R"({"kind": "TarvexButton", "name": "B", "properties": {"btype": 1.5}}])",
         "/controls/0/properties/btype"},
        {R"({"kind": "TarvexButton", "name": "B", "properties": {"btype": 1, "BTYPE": 2}}])",
         "/controls/0/properties/BTYPE"},
        {R"({"kind": "Label", "name": "L"}, {"kind": "Label", "nme": "M"}])", "/controls/1/nme"},
        {R"({"kind": "Label", "name": "L", "left": 1, "top": 2}])", "/controls/0/width"},
        {R"({"kind": "Label", "name": "L", "properties": {"font": {"name": "A"}}}])",
         "/controls/0/properties/font/size"},
        {R"({"kind": "Label", "name": "L", "properties": {"x": 4294967296}}])",
         "/controls/0/properties/x"},
        {R"({"kind": "Label", "name": "L"}, {"kind": "Label", "name": "l"}])", "/controls/1/name"},
        {R"({"kind": "Label", "name": "L", "properties": {"p": {"picture": ""}}}])",
         "/controls/0/properties/p/picture"},
        {R"({"kind": "Label", "name": "L", "properties": {"v": [1]}}])",
         "/controls/0/properties/v"},
    };
    for (const Case& c : cases) {
        const fs::path file = dir.path() / "bad.layout.json";
        WriteText(file, head + c.controls + "}");
        const std::string error = ErrorOf(file);
        EXPECT_NE(error.find(file.string()), std::string::npos) << error;
        EXPECT_NE(error.find("at " + c.place + ":"), std::string::npos) << error;
    }
}

TEST(MalformedLayouts, AnotherFormatOrAMissingPictureIsRefused) {
    TempDir dir;
    const fs::path file = dir.path() / "other.json";
    WriteText(file, R"({"format": "something-else", "version": 1, "form": {}, "controls": []})");
    EXPECT_NE(ErrorOf(file).find("at /format:"), std::string::npos);

    WriteText(file, R"({"format": "vornik-form-layout", "version": 1,
        "form": {"name": "f", "width": 1, "height": 1},
        "controls": [{"kind": "Image", "name": "I", "properties": {"picture": {"picture": "gone.png"}}}]})");
    PictureLoader loader = [](const fs::path&) -> PictureRef {
        throw std::runtime_error("no such file");
    };
    try {
        ReadFormLayout(file, loader);
        FAIL() << "read without error";
    } catch (const LayoutError& e) {
        EXPECT_NE(std::string(e.what()).find("/controls/0/properties/picture/picture"),
                  std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("gone.png"), std::string::npos);
    }
    EXPECT_NE(ErrorOf(dir.path() / "absent.json").find("cannot be opened"), std::string::npos);
}

}  // namespace
}  // namespace tarvex
