// Rendering real forms as the editor previews them: each image is saved under the build
// folder for a look, must not be blank, and its client area must have the form's client
// size.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSet>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "preview/formwindow.h"
#include "preview/vcllook.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"

namespace {

namespace fs = std::filesystem;

// A dozen corpus forms of different kinds: dialogs, data forms, main windows with menus,
// tool bars and status bars, page controls, binary forms.
const char* const Forms[] = {
    "forms/text/Embarcadero__Dev-Cpp__Source__AboutFrm.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__CompOptionsFrm.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__EditorOptFrm.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__NewProjectFrm.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__ProjectOptionsFrm.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__Tools__PackMaker__main.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__Tools__Packman__Main.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__main.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__DataFrm.dfm",
    "forms/text/Embarcadero__Dev-Cpp__Source__Tools__PackMaker__filefrm.dfm",
    "forms/binary/Embarcadero__Dev-Cpp__source__CPUFrm.dfm",
    "forms/binary/Embarcadero__Dev-Cpp__source__Vcl__synedit__Source__SynEditPrintMarginsDialog.dfm",
};

int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

TEST(Render, CorpusFormsRenderAtTheirClientSize) {
    const fs::path corpus(FW_CORPUS_DIR);
    if (!fs::is_directory(corpus / "forms")) {
        if (std::getenv("FW_SKIP_CORPUS")) GTEST_SKIP() << "corpus not found";
        FAIL() << "corpus not found at " << corpus;
    }
    const fs::path out(FW_TEST_OUTPUT_DIR);
    fs::create_directories(out);
    for (const char* name : Forms) {
        SCOPED_TRACE(name);
        const fs::path path = corpus / name;
        ASSERT_TRUE(fs::exists(path));
        fw::Bytes bytes = fw::ReadFileBytes(path.string());
        if (fw::DetectEncoding(bytes) != fw::FormEncoding::Text)
            bytes = fw::ConvertForm(bytes, fw::FormEncoding::Text);
        fw::preview::PreviewContext context;
        fw::preview::VirtualDesktop desktop(context);
        desktop.resize(1280, 1024);
        desktop.BuildPreview(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                             fw::CodePage::Default());
        const fw::rt::Object* form = desktop.PreviewForm();
        ASSERT_NE(form, nullptr);
        for (const std::string& m : desktop.PreviewMessages())
            EXPECT_EQ(m.rfind("ERROR=Reader", 0), std::string::npos) << m;
        const QImage window = desktop.FormWindowImage();
        const QImage client = desktop.FormClientImage();
        ASSERT_FALSE(window.isNull());
        window.save(QString::fromStdString((out / (path.stem().string() + ".png")).string()), "PNG");
        EXPECT_GT(DistinctColours(window), 3) << "a blank picture";
        const auto clientWidth = fw::preview::OrdinalOf(*form, "ClientWidth");
        const auto clientHeight = fw::preview::OrdinalOf(*form, "ClientHeight");
        if (clientWidth > 0 && clientHeight > 0)
            EXPECT_EQ(client.size(), QSize(static_cast<int>(clientWidth), static_cast<int>(clientHeight)));
    }
}

}  // namespace
