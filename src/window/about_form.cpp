#include "window/about_form.h"

#include <utility>

namespace tsukikage {

AboutForm::AboutForm()
    : caption("ﾊﾞｰｼﾞｮﾝ情報"),
      lblVersion("ﾊﾞｰｼﾞｮﾝ：1.00"),
      lblDescription(
          "月影回廊物語 for Linux は、ビジュアルノベル「月影回廊物語」の元のゲームデータを、"
          "そのまま Linux で遊ぶためのプレイヤーです。\n"
          "このプログラムにウェブサイトはありません。使い方と最新の情報は、同梱の README.md "
          "をご覧ください。"),
      lblDisclaimer(
          "ゲームのデータ（シナリオ、画像、音声）の権利は、それぞれの権利者に帰属します。"
          "権利者の許可なく転用、再配布することはできません。このプログラムは無保証です。"
          "使用によって生じたいかなる問題についても、開発者は責任を負いません。"
          "ご利用の条件は、同梱の README.md をご覧ください。"),
      lblTitle("アプリケーション タイトル"),
      cmdOK("OK") {}

void AboutForm::Unload() {
    AboutForm design;
    design.load_count = load_count;
    design.raise_requests = raise_requests;
    *this = std::move(design);
}

}  // namespace tsukikage
