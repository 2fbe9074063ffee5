#include "app/workflow.h"

#include "app/controls.h"
#include "app/file_name_guard.h"
#include "app/progress.h"
#include "http/download.h"
#include "http/site.h"
#include "http/web_request.h"
#include "text/bytes.h"
#include "text/notice.h"

namespace tsm {

Text gPageText;
Text gPageTitle;

Text AttachmentAddress() {
  return ConcatText("http://", SiteHost(),
                    "/d/file/bieshuCADtuzhi/2016-08-04/ceec363b0c442b1bbeabb2288a6864eb.rar");
}

void OnDownloadClicked() {
  if (CompareText(ReadAddress(), Text()) == 0) {
    ShowNotice("正确写入地址(づ￣ 3￣)づ", 0, Text("Brenwick提示你："));
    return;
  }
  gPageText = FetchPageText(ReadAddress());
  gPageTitle = ExtractBetween(gPageText, "<title>", "</title>");
  SetLabelText(Label::kTitle, gPageTitle);
  if (!IsPlainFileName(gPageTitle)) {
    ShowNotice("不能打开本地的文件!");
    return;
  }
  BeginProgress();
  DownloadToFile(AttachmentAddress(), gPageTitle, ShowProgress);
  FinishProgress();
}

Text FetchPageText(const Text& address) { return BytesToText(WebRequest(address)); }

Text ExtractBetween(const Text& text, const Text& startMarker, const Text& endMarker) {
  const int32_t start = FindText(text, startMarker);
  if (start == -1) return Text();
  const int32_t from = start + TextLength(startMarker);
  const int32_t end = FindText(text, endMarker, from);
  if (end == -1) return Text();
  return MidText(text, from, end - from);
}

}  // namespace tsm
