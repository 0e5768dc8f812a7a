// designhost lsp at the protocol's level, through pipes: the error codes of bad input, the
// exit statuses, and positions counted in UTF-16 or in bytes as agreed, both ways.
#include "tests/designhost/KeySchema.h"
#include "tests/designhost/LspClient.h"
#include "tests/designhost/ProjectFixture.h"

namespace {

using namespace project_fixture;
using nlohmann::json;

class LspProtocol : public ProjectTest {
 protected:
  json Initialize(TLspClient& Lsp, bool OfferUtf8) {
    json capabilities = OfferUtf8 ? json{{"general", {{"positionEncodings", {"utf-8", "utf-16"}}}}} : json::object();
    json folder = {{"uri", "file://" + (dir / "proj").string()}, {"name", "proj"}};
    return Lsp.Request("initialize", {{"capabilities", capabilities}, {"workspaceFolders", {folder}}});
  }
  std::string Uri() const { return "file://" + (dir / "proj" / "forms" / "sizes.xfm").string(); }
};

// A field list with characters outside ASCII before a misspelled field: UTF-16 counts the emoji
// as two units and the a-umlaut as one, bytes count them as four and two.
constexpr const char* kSizes = R"(object Sizes: TDataModule
  object Odd: TQVRTable
    DatabaseName = 'Shop'
    TableName = 'orders'
    IndexFieldNames = '😀ä;SaleDat'
  end
end
)";

TEST_F(LspProtocol, CountsPositionsInTheAgreedUnitsBothWays) {
  ExecSql(dir / "proj" / "data" / "shop.tvd", R"sql(ALTER TABLE orders ADD COLUMN "Cust's Ref" TEXT)sql");
  for (bool utf8 : {false, true}) {
    SCOPED_TRACE(utf8 ? "utf-8" : "utf-16");
    TLspClient lsp(dir.Path());
    EXPECT_EQ(Initialize(lsp, utf8)["result"]["capabilities"]["positionEncoding"], utf8 ? "utf-8" : "utf-16");
    lsp.Notify("initialized", json::object());
    lsp.Notify("textDocument/didOpen",
               {{"textDocument", {{"uri", Uri()}, {"languageId", "xfm"}, {"version", 1}, {"text", kSizes}}}});
    json diagnostics = lsp.Diagnostics(Uri());
    ASSERT_EQ(diagnostics.size(), 2U) << diagnostics;
    const int start = 22;  // after "    IndexFieldNames = "
    const int length = utf8 ? 16 : 13;
    EXPECT_EQ(diagnostics[0]["range"], json({{"start", {{"line", 4}, {"character", start}}},
                                             {"end", {{"line", 4}, {"character", start + length}}}}));
    EXPECT_EQ(diagnostics[1]["message"], "no field 'SaleDat' in table 'orders'; did you mean 'SaleDate'?");
    EXPECT_EQ(diagnostics[1]["severity"], 1);
    EXPECT_EQ(diagnostics[1]["source"], "designhost");

    // "e" typed after "SaleDat", the position in the agreed units: only the emoji's finding stays.
    json at = {{"line", 4}, {"character", start + length - 1}};
    lsp.Notify("textDocument/didChange",
               {{"textDocument", {{"uri", Uri()}, {"version", 2}}},
                {"contentChanges", {{{"range", {{"start", at}, {"end", at}}}, {"text", "e"}}}}});
    diagnostics = lsp.Diagnostics(Uri());
    ASSERT_EQ(diagnostics.size(), 1U) << diagnostics;
    EXPECT_EQ(diagnostics[0]["message"], "no field '😀ä' in table 'orders'");

    // Hover on the field after the emoji names it: the position is read in the same units.
    json hover = lsp.Request("textDocument/hover", {{"textDocument", {{"uri", Uri()}}},
                                                    {"position", {{"line", 4}, {"character", start + length - 3}}}});
    EXPECT_NE(hover["result"]["contents"]["value"].get<std::string>().find("SaleDate"), std::string::npos) << hover;

    // A name with a doubled quote typed after the emoji and completed: the whole name under the
    // cursor is replaced, counted in the agreed units, and the field holding a quote goes in
    // with it doubled, so the list reads again and names the field.
    const int name = start + (utf8 ? 6 : 3) + 2;  // after "'😀ä;"
    at = {{"line", 4}, {"character", name}};
    lsp.Notify("textDocument/didChange",
               {{"textDocument", {{"uri", Uri()}, {"version", 3}}},
                {"contentChanges", {{{"range", {{"start", at}, {"end", at}}}, {"text", "Cust''R;"}}}}});
    EXPECT_EQ(lsp.Diagnostics(Uri()).size(), 2U);
    json items = lsp.Request(
        "textDocument/completion",
        {{"textDocument", {{"uri", Uri()}}}, {"position", {{"line", 4}, {"character", name + 7}}}})["result"]["items"];
    std::vector<std::string> labels;
    for (const json& item : items) labels.push_back(item["label"]);
    ASSERT_EQ(labels, std::vector<std::string>({"OrderNo", "CustNo", "SaleDate", "Cust''s Ref"})) << items;
    const json& edit = items[3]["textEdit"];
    EXPECT_EQ(edit["range"],
              json({{"start", {{"line", 4}, {"character", name}}}, {"end", {{"line", 4}, {"character", name + 7}}}}));
    lsp.Notify("textDocument/didChange", {{"textDocument", {{"uri", Uri()}, {"version", 4}}},
                                          {"contentChanges", {{{"range", edit["range"]}, {"text", edit["newText"]}}}}});
    diagnostics = lsp.Diagnostics(Uri());
    ASSERT_EQ(diagnostics.size(), 1U) << diagnostics;
    EXPECT_EQ(diagnostics[0]["message"], "no field '😀ä' in table 'orders'");
  }
}

TEST_F(LspProtocol, AnswersBadInputWithItsErrorAndEndsAsAsked) {
  TLspClient lsp(dir.Path());
  EXPECT_EQ(lsp.Request("textDocument/hover", json::object())["error"]["code"], -32002);  // before initialize
  Initialize(lsp, false);
  auto errorCode = [&](const std::string& Body) {
    lsp.SendRaw(Body);
    json answer = lsp.Next();
    EXPECT_EQ(answer["id"], nullptr) << answer;
    return answer["error"]["code"];
  };
  EXPECT_EQ(errorCode("{not json"), -32700);
  EXPECT_EQ(errorCode("[1, 2]"), -32600);
  EXPECT_EQ(errorCode(R"({"jsonrpc": "2.0", "params": {}})"), -32600);
  EXPECT_EQ(lsp.Request("workspace/frobnicate", json::object())["error"]["code"], -32601);
  json closed = lsp.Request("textDocument/hover",
                            {{"textDocument", {{"uri", Uri()}}}, {"position", {{"line", 0}, {"character", 0}}}});
  EXPECT_EQ(closed["error"]["code"], -32602);
  EXPECT_NE(closed["error"]["message"].get<std::string>().find("not open"), std::string::npos);

  // A request cancelled before it was taken up is answered as cancelled.
  lsp.SendRaw({json{{"jsonrpc", "2.0"},
                    {"id", 77},
                    {"method", "textDocument/documentSymbol"},
                    {"params", {{"textDocument", {{"uri", Uri()}}}}}}
                   .dump(),
               json{{"jsonrpc", "2.0"}, {"method", "$/cancelRequest"}, {"params", {{"id", 77}}}}.dump()});
  EXPECT_EQ(lsp.ResponseTo(77)["error"]["code"], -32800);

  // The server still serves after all of it, and ends with 0 after shutdown and exit.
  EXPECT_EQ(lsp.Request("shutdown", nullptr)["result"], nullptr);
  lsp.Notify("exit", nullptr);
  EXPECT_EQ(lsp.Wait(), 0);

  TLspClient unasked(dir.Path());
  Initialize(unasked, false);
  unasked.Notify("exit", nullptr);
  EXPECT_EQ(unasked.Wait(), 1);

  TLspClient closedInput(dir.Path());
  Initialize(closedInput, false);
  closedInput.CloseInput();
  EXPECT_EQ(closedInput.Wait(), 1);
}

// The offset of an LSP position in ASCII Text.
size_t OffsetOf(const std::string& Text, const json& Position) {
  size_t offset = 0;
  for (int line = 0; line < Position["line"].get<int>(); ++line) offset = Text.find('\n', offset) + 1;
  return offset + Position["character"].get<size_t>();
}

// The code actions on a hand-made form offer a link for each key of an unlinked table to another
// table of the form; the edits of one are what link writes.
TEST_F(LspProtocol, OffersTheLinksOfForeignKeysWithTheEditsLinkMakes) {
  fs::create_directories(dir / "keys" / "data");
  ExecSql(dir / "keys" / "data" / "shop.tvd", key_schema::kSql);
  WriteFile(dir / "keys" / "hand.xfm", key_schema::kHandForm);
  TLspClient lsp(dir.Path());
  lsp.Request("initialize", {{"capabilities", json::object()}, {"rootUri", "file://" + (dir / "keys").string()}});
  const std::string uri = "file://" + (dir / "keys" / "hand.xfm").string();
  lsp.Notify(
      "textDocument/didOpen",
      {{"textDocument", {{"uri", uri}, {"languageId", "xfm"}, {"version", 1}, {"text", key_schema::kHandForm}}}});
  json all = {{"start", {{"line", 0}, {"character", 0}}}, {"end", {{"line", 99}, {"character", 0}}}};
  json actions = lsp.Request(
      "textDocument/codeAction",
      {{"textDocument", {{"uri", uri}}}, {"range", all}, {"context", {{"diagnostics", json::array()}}}})["result"];
  std::vector<std::string> titles;
  for (const json& action : actions) titles.push_back(action["title"]);
  EXPECT_EQ(titles, std::vector<std::string>({"Link to Customers by its foreign key (bill_to)",
                                              "Link to Customers by its foreign key (ship_to)",
                                              "Link to Orders by its foreign key (order_no)"}));
  ASSERT_EQ(actions.size(), 3U);
  std::string text = key_schema::kHandForm;
  for (const json& edit : actions[2]["edit"]["changes"][uri]) {
    const size_t start = OffsetOf(text, edit["range"]["start"]);
    text.replace(start, OffsetOf(text, edit["range"]["end"]) - start, edit["newText"].get<std::string>());
  }
  ASSERT_EQ(RunProgram(kDesignhost, {"link", "hand.xfm", "Lines", "Orders"}, dir / "keys").Status, 0);
  EXPECT_EQ(text, ReadFile(dir / "keys" / "hand.xfm"));
}

}  // namespace
