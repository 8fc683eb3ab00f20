#include "drawing/model/TextCodec.h"

#include "drawing/tags/CodePage.h"

namespace kalvex::drawing {

namespace {

class CodePageCodec : public TextCodec {
public:
    explicit CodePageCodec(CodePage codePage) : m_codePage(std::move(codePage)) {}
    std::string decode(std::string_view fileBytes) const override {
        return m_codePage.decode(fileBytes);
    }
    std::string encode(std::string_view utf8) const override { return m_codePage.encode(utf8); }
    bool isValid(std::string_view fileBytes) const override {
        return m_codePage.isValid(fileBytes);
    }
    bool isKnown() const override { return m_codePage.isKnown(); }

private:
    CodePage m_codePage;
};

} // namespace

std::unique_ptr<TextCodec> makeTextCodec(std::string_view acadVersion, std::string_view codePage) {
    return std::make_unique<CodePageCodec>(CodePage::forDrawing(acadVersion, codePage));
}

} // namespace kalvex::drawing
