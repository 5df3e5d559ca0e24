#include "game/system/game_menu_resource.h"

#include "platform/menu.h"
#include "platform/sjis_literal.h"

namespace {

using Entry = platform::MenuResourceEntry;
using Kind = Entry::Kind;
using namespace game_menu;

constexpr Entry Popup(const char* text) { return {Kind::kPopup, 0, text}; }
constexpr Entry End() { return {Kind::kEnd, 0, nullptr}; }
constexpr Entry Item(UINT id, const char* text) { return {Kind::kItem, id, text}; }
constexpr Entry Line() { return {Kind::kSeparator, 0, nullptr}; }

// The layout shows the tree.
// clang-format off
const Entry kMenu[] = {
    Popup("ロード(&L)"_sj),
    Item(40084, "1"), Item(40085, "2"), Item(40086, "3"), Item(40094, "4"), Item(40095, "5"),
    Item(40096, "6"), Item(40097, "7"), Item(40098, "8"), Item(40099, "9"), Item(40100, "10"),
    End(),
    Popup("セーブ(&S)"_sj),
    Item(40081, "1"), Item(40082, "2"), Item(40083, "3"), Item(40087, "4"), Item(40088, "5"),
    Item(40089, "6"), Item(40090, "7"), Item(40091, "8"), Item(40092, "9"), Item(40093, "10"),
    End(),
    Popup("設定(&C)"_sj),
        Popup("画面(&G)"_sj),
            Item(kFullScreen, "フルスクリーン(&F)"_sj),
            Item(kWindow, "ウインドウ(&W)"_sj),
            Line(),
            Item(kTips, "チップスを表示する"_sj),
        End(),
        Popup("メッセージ(&M)"_sj),
            Popup("表示速度(&S)"_sj),
                Item(kTextFastest, "最速"_sj),
                Line(),
                Item(kTextFast, "速い"_sj),
                Item(kTextNormal, "普通"_sj),
                Item(kTextSlow, "遅い"_sj),
            End(),
            Popup("オートモード(&A)"_sj),
                Item(kAutoFast, "速い"_sj),
                Item(kAutoNormal, "普通"_sj),
                Item(kAutoSlow, "遅い"_sj),
                Line(),
                Item(kAutoOff, "無し"_sj),
            End(),
            Popup("既読/未読(&R)"_sj),
                Item(kSkipUnread, "未読の文章もスキップする"_sj),
                Line(),
                Item(kReadTextAlpha, "一度見た文章は半透明で表示する"_sj),
                Item(kReadTextFast, "一度見た文章は高速で表示する"_sj),
                Line(),
                Item(kClearReadFlags, "未読/既読フラグをクリアする"_sj),
            End(),
            Popup("ウィンドウ(&W)"_sj),
                Item(kWindowOpaque, "通常表示"_sj),
                Line(),
                Item(kWindow75, "半透明表示(75%)"_sj),
                Item(kWindow50, "半透明表示(50%)"_sj),
                Item(kWindow25, "半透明表示(25%)"_sj),
                Line(),
                Item(kWindowInvisible, "表示しない"_sj),
            End(),
        End(),
        Popup("エフェクト(&E)"_sj),
            Item(kEffects, "使用する"_sj),
        End(),
        Popup("サウンド(&S)"_sj),
            Popup("全体音量(&A)"_sj),
                Item(kMasterLoud, "音量(大)"_sj),
                Item(kMasterMedium, "音量(中)"_sj),
                Item(kMasterQuiet, "音量(小)"_sj),
                Line(),
                Item(kMasterLeast, "最小"_sj),
            End(),
            Popup("BGM(&B)"),
                Item(kBgmLoud, "音量(大)"_sj),
                Item(kBgmMedium, "音量(中)"_sj),
                Item(kBgmQuiet, "音量(小)"_sj),
                Line(),
                Item(kBgmOff, "無し"_sj),
                Line(),
                Item(kBgmDownForVoice, "音声を再生する時にBGMの音量を下げる"_sj),
            End(),
            Popup("音声(&V)"_sj),
                Item(kVoiceLoud, "音量(大)"_sj),
                Item(kVoiceMedium, "音量(中)"_sj),
                Item(kVoiceQuiet, "音量(小)"_sj),
                Line(),
                Item(kVoiceOff, "無し"_sj),
            End(),
            Popup("効果音(&S)"_sj),
                Item(kSeLoud, "音量(大)"_sj),
                Item(kSeMedium, "音量(中)"_sj),
                Item(kSeQuiet, "音量(小)"_sj),
                Line(),
                Item(kSeOff, "無音"_sj),
            End(),
        End(),
        Popup("画像キャッシュ(&C)"_sj),
            Item(kCacheMaximum, "最大(メモリ使用量約300M)"_sj),
            Line(),
            Item(kCacheLarge, "大(メモリ使用量約100M)"_sj),
            Item(kCacheMedium, "中(メモリ使用量約50M)"_sj),
            Item(kCacheSmall, "小(メモリ使用量約10M)"_sj),
            Line(),
            Item(kCacheNone, "無し(キャッシュにメモリを使用しない)"_sj),
        End(),
        Popup("情報表示(&I)"_sj),
            Item(kShowCacheRate, "キャッシュヒット率を表示"_sj),
            Item(kShowFps, "現在のフレームレートを表示"_sj),
        End(),
    End(),
    Popup("その他(&O)"_sj),
        Item(kWallpaper, "この絵を壁紙に設定する(&W)"_sj),
        Line(),
        Item(kReturnToTitle, "タイトル画面にもどる(&T)"_sj),
        Line(),
        Item(kVersion, "バージョン情報(&V)"_sj),
    End(),
    Item(kQuit, "終了(&X)"_sj),
};
// clang-format on

}  // namespace

void RegisterGameMenu() {
  platform::RegisterMenuResource(kResourceName, kMenu);
  platform::UseMenuBars();
}
