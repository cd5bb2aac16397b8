// Writes docs/components.md from the published-property registry: every component class of the
// framework and the skin library, each created the way a program creates it (on a plain form that
// owns it), with its properties' types and the values a fresh instance has.
//   component-reference             prints the reference
//   component-reference --check F   exit code 1 when file F differs from it (first difference on
//                                   standard error), 0 when it is the same
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>

#include "framework/win/AppEvnts.h"
#include "framework/win/Application.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "framework/win/Screen.h"
#include "framework/win/StdCtrls.h"
#include "skin/controls/KELButton.h"
#include "skin/controls/KELSkinForm.h"
#include "skin/frame/KELForm.h"
#include "skin/frame/KELMainMenu.h"
#include "skin/frame/KELMenuBar.h"
#include "skin/frame/KELPopupMenu.h"
#include "skin/frame/KELTitleBar.h"
#include "skin/themes/KELMgr.h"
#include "tools/component-reference/ReferenceMarkdown.h"

namespace kel {
namespace {

// Gives the instance to document: made on the host form, which frees it, or one the program has
// anyway.
using TInstance = std::function<TComponent*(TForm& host)>;

template <class C> TInstance Made() {
    return [](TForm& host) { return new C(&host); };
}

const TInstance kFramework[] = {
    Made<TForm>(),
    Made<TPanel>(),
    Made<TLabel>(),
    Made<TButton>(),
    Made<TEdit>(),
    Made<TImage>(),
    Made<TToolBar>(),
    Made<TToolButton>(),
    Made<TMainMenu>(),
    Made<TPopupMenu>(),
    Made<TMenuItem>(),
    Made<TTimer>(),
    Made<TApplicationEvents>(),
    [](TForm&) -> TComponent* { return Application; },
    [](TForm&) -> TComponent* { return Screen; },
};

const TInstance kSkin[] = {
    Made<TkelForm>(),
    Made<TkelTitleBar>(),
    [](TForm& host) -> TComponent* {
        return new TkelTitleBarPopupMenu(&host, new TkelTitleBar(&host));
    },
    [](TForm& host) -> TComponent* {
        auto* form = new TkelForm(&host);
        return new TkelMenuBar(&host, *form);
    },
    Made<TkelMainMenu>(),
    Made<TkelPopupMenu>(),
    Made<TkelImageButton>(),
    Made<TkelSkinForm>(),
    Made<TkelFileTheme>(),
};

template <size_t N> void WriteGroup(TReferenceWriter& writer, const TInstance (&instances)[N]) {
    for (const TInstance& instance : instances) {
        TForm host(nullptr);
        writer.ComponentClass(*instance(host));
    }
}

std::string Reference() {
    TReferenceWriter writer;
    writer.Heading("Component reference", 1);
    writer.Paragraph(
        "Every component class of the framework and the skin library with the properties it "
        "publishes, its own and inherited: the type and the value of a freshly created component "
        "(created with a plain form as its owner; `Application` and `Screen` are the program's "
        "own). Written by `component-reference.exe` from the published-property registry: "
        "`make docs` writes it again, and the test `win.component_reference` fails while this "
        "file differs from what the tool writes.");
    writer.Paragraph("Colours are `TColor` values 0x00BBGGRR; a value whose high byte is 0xFF "
                     "names the system colour whose index is the low byte.");
    writer.Heading("Framework", 2);
    WriteGroup(writer, kFramework);
    writer.Heading("Skin library", 2);
    WriteGroup(writer, kSkin);
    writer.Heading("Collections", 2);
    writer.Collections();
    writer.Heading("Enumerations", 2);
    writer.Enumerations();
    std::string text = writer.Text();
    text.pop_back(); // one line break at the end
    return text;
}

// Line number and both lines of the first difference.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected), b(actual);
    std::string lineA, lineB;
    for (int number = 1;; ++number) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB) return "line endings differ";
        if (!moreA || !moreB || lineA != lineB)
            return "line " + std::to_string(number) + ": the tool writes \"" +
                   (moreA ? lineA : "(end)") + "\", the file has \"" + (moreB ? lineB : "(end)") +
                   "\"";
    }
}

int Run(int argc, char** argv) {
    const std::string reference = Reference();
    if (argc == 1) {
        _setmode(_fileno(stdout), _O_BINARY); // the file keeps Unix line breaks
        std::fwrite(reference.data(), 1, reference.size(), stdout);
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--check") {
        std::ifstream in(argv[2], std::ios::binary);
        if (!in) {
            std::cerr << "component-reference: " << argv[2] << ": cannot read\n";
            return 1;
        }
        std::stringstream file;
        file << in.rdbuf();
        if (file.str() == reference) return 0;
        std::cerr << "component-reference: " << argv[2] << " is out of date ("
                  << FirstDifference(reference, file.str())
                  << "); write it again with `make docs`\n";
        return 1;
    }
    std::cerr << "usage: component-reference [--check FILE]\n";
    return 2;
}

} // namespace
} // namespace kel

int main(int argc, char** argv) {
    kel::InitFramework();
    int code = 2;
    try {
        code = kel::Run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "component-reference: " << e.what() << "\n";
    }
    kel::DoneFramework();
    return code;
}
