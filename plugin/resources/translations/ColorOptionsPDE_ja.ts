<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Localizable</name>
    <message>
        <source>Color Options</source>
        <translation>カラーオプション</translation>
    </message>
    <message>
        <source>Quick Color</source>
        <translation>クイックカラー</translation>
    </message>
    <message>
        <source>Quick Color:</source>
        <translation>クイックカラー:</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>明るさ</translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation>明るさ:</translation>
    </message>
    <message>
        <source>Color as Grayscale</source>
        <translation>カラーをグレースケールで印刷</translation>
    </message>
    <message>
        <source>Color Separation</source>
        <translation>色分解</translation>
    </message>
    <message>
        <source>EconoMode</source>
        <translation>エコノモード</translation>
    </message>
    <message>
        <source>EdgeType</source>
        <translation>エッジタイプ</translation>
    </message>
    <message>
        <source>EdgeType:</source>
        <translation>エッジタイプ:</translation>
    </message>
    <message>
        <source>GlossyMode</source>
        <translation>光沢モード</translation>
    </message>
    <message>
        <source>Advanced Color Options</source>
        <translation>詳細カラーオプション</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>イメージ</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>テキスト</translation>
    </message>
    <message>
        <source>Graphics</source>
        <translation>グラフィックス</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>シミュレーション</translation>
    </message>
    <message>
        <source>RGB Source:</source>
        <translation>RGB ソース:</translation>
    </message>
    <message>
        <source>RGB Intent:</source>
        <translation>RGB レンダリング:</translation>
    </message>
    <message>
        <source>RGB Gray Treatment:</source>
        <translation>RGB グレー処理:</translation>
    </message>
    <message>
        <source>Destination Profile:</source>
        <translation>出力プロファイル:</translation>
    </message>
    <message>
        <source>Halftone:</source>
        <translation>ハーフトーン:</translation>
    </message>
    <message>
        <source>EdgeEnhance:</source>
        <translation>エッジ強調:</translation>
    </message>
    <message>
        <source>Simulation Profile:</source>
        <translation>シミュレーションプロファイル:</translation>
    </message>
    <message>
        <source>Match Paper Color:</source>
        <translation>用紙色に合わせる:</translation>
    </message>
    <message>
        <source>CMYK Gray Treatment:</source>
        <translation>CMYK グレー処理:</translation>
    </message>
    <message>
        <source>Management Profile</source>
        <translation>プロファイル管理</translation>
    </message>
    <message>
        <source>Resource Loader</source>
        <translation>リソースローダー</translation>
    </message>
    <message>
        <source>Hide Advanced Options</source>
        <translation>詳細オプションを隠す</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>ディスク</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>カード</translation>
    </message>
    <message>
        <source>Simulation Profile</source>
        <translation>シミュレーションプロファイル</translation>
    </message>
    <message>
        <source>Match Paper Color</source>
        <translation>用紙色に合わせる</translation>
    </message>
    <message>
        <source>CMYK Gray Treatment</source>
        <translation>CMYK グレー処理</translation>
    </message>
    <message>
        <source>Image RGB Source</source>
        <translation>イメージ RGB ソース</translation>
    </message>
    <message>
        <source>Image RGB Intent</source>
        <translation>イメージ RGB レンダリング</translation>
    </message>
    <message>
        <source>Image RGB Gray Treatment</source>
        <translation>イメージ RGB グレー処理</translation>
    </message>
    <message>
        <source>Image Destination Profile</source>
        <translation>イメージ出力プロファイル</translation>
    </message>
    <message>
        <source>Image Halftone</source>
        <translation>イメージハーフトーン</translation>
    </message>
    <message>
        <source>Image EdgeEnhance</source>
        <translation>イメージエッジ強調</translation>
    </message>
    <message>
        <source>Text RGB Source</source>
        <translation>テキスト RGB ソース</translation>
    </message>
    <message>
        <source>Text RGB Intent</source>
        <translation>テキスト RGB レンダリング</translation>
    </message>
    <message>
        <source>Text RGB Gray Treatment</source>
        <translation>テキスト RGB グレー処理</translation>
    </message>
    <message>
        <source>Text Destination Profile</source>
        <translation>テキスト出力プロファイル</translation>
    </message>
    <message>
        <source>Text Halftone</source>
        <translation>テキストハーフトーン</translation>
    </message>
    <message>
        <source>Text EdgeEnhance</source>
        <translation>テキストエッジ強調</translation>
    </message>
    <message>
        <source>Graphics RGB Source</source>
        <translation>グラフィックス RGB ソース</translation>
    </message>
    <message>
        <source>Graphics RGB Intent</source>
        <translation>グラフィックス RGB レンダリング</translation>
    </message>
    <message>
        <source>Graphics RGB Gray Treatment</source>
        <translation>グラフィックス RGB グレー処理</translation>
    </message>
    <message>
        <source>Graphics Destination Profile</source>
        <translation>グラフィックス出力プロファイル</translation>
    </message>
    <message>
        <source>Graphics Halftone</source>
        <translation>グラフィックスハーフトーン</translation>
    </message>
    <message>
        <source>Graphics EdgeEnhance</source>
        <translation>グラフィックスエッジ強調</translation>
    </message>
    <message>
        <source>ProfileTitle</source>
        <translation>プロファイル管理</translation>
    </message>
    <message>
        <source>Profile Type:</source>
        <translation>プロファイルの種類:</translation>
    </message>
    <message>
        <source>RGB Source Profiles</source>
        <translation>RGB ソースプロファイル</translation>
    </message>
    <message>
        <source>Simulation Profiles</source>
        <translation>シミュレーションプロファイル</translation>
    </message>
    <message>
        <source>Destination Profiles</source>
        <translation>出力プロファイル</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Profile Settings</source>
        <translation>プロファイル設定</translation>
    </message>
    <message>
        <source>File Name:</source>
        <translation>ファイル名:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>参照...</translation>
    </message>
    <message>
        <source>Profile Name:</source>
        <translation>プロファイル名:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>保存場所:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>ファイル名</translation>
    </message>
    <message>
        <source>Profile Name</source>
        <translation>プロファイル名</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>保存場所</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>メニュー</translation>
    </message>
    <message>
        <source>ProfileWriteFailed</source>
        <translation>プロファイルリストを保存できませんでした。プロファイルサービスがリストファイルを書き込みませんでした。変更内容は保持されています。もう一度試すには OK を、破棄するにはキャンセルをクリックしてください。</translation>
    </message>
    <message>
        <source>StopWaiting</source>
        <translation>待機をやめる</translation>
    </message>
    <message>
        <source>Looking for colour profiles on the printer…</source>
        <translation>プリンターのカラープロファイルを検索しています…</translation>
    </message>
    <message>
        <source>Saving the profile list…</source>
        <translation>プロファイルリストを保存しています…</translation>
    </message>
    <message>
        <source>Asking the profile service…</source>
        <translation>プロファイルサービスに問い合わせています…</translation>
    </message>
    <message>
        <source>Economy Mode</source>
        <translation>エコノミーモード</translation>
    </message>
    <message>
        <source>Edge Type</source>
        <translation>エッジタイプ</translation>
    </message>
    <message>
        <source>Glossy Mode</source>
        <translation>光沢モード</translation>
    </message>
    <message>
        <source>Image Edge Enhancement</source>
        <translation>イメージエッジ強調</translation>
    </message>
    <message>
        <source>Text Edge Enhancement</source>
        <translation>テキストエッジ強調</translation>
    </message>
    <message>
        <source>Graphics Edge Enhancement</source>
        <translation>グラフィックスエッジ強調</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Vivid</source>
        <translation>鮮やか</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>写真</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>カスタム</translation>
    </message>
    <message>
        <source>Lightest</source>
        <translation>最も明るく</translation>
    </message>
    <message>
        <source>Lighter</source>
        <translation>明るく</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>標準の明るさ</translation>
    </message>
    <message>
        <source>Darker</source>
        <translation>暗く</translation>
    </message>
    <message>
        <source>Darkest</source>
        <translation>最も暗く</translation>
    </message>
    <message>
        <source>On</source>
        <translation>オン</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <source>Thin</source>
        <translation>細い</translation>
    </message>
    <message>
        <source>Thick</source>
        <translation>太い</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>sRGB</source>
        <translation>sRGB</translation>
    </message>
    <message>
        <source>Adobe RGB (1998)</source>
        <translation>Adobe RGB (1998)</translation>
    </message>
    <message>
        <source>Monitor RGB</source>
        <translation>モニターRGB</translation>
    </message>
    <message>
        <source>Perceptual</source>
        <translation>知覚的</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>彩度</translation>
    </message>
    <message>
        <source>Relative Colorimetric</source>
        <translation>相対的な色域を維持</translation>
    </message>
    <message>
        <source>Black Only</source>
        <translation>黒のみ</translation>
    </message>
    <message>
        <source>Composite CMYK</source>
        <translation>CMYKコンポジット</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>詳細</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>スムーズ</translation>
    </message>
    <message>
        <source>Stochastic</source>
        <translation>確率的</translation>
    </message>
    <message>
        <source>SWOP</source>
        <translation>SWOP</translation>
    </message>
    <message>
        <source>Euroscale</source>
        <translation>ユーロスケール</translation>
    </message>
    <message>
        <source>Japan Color</source>
        <translation>Japan Color</translation>
    </message>
    <message>
        <source>Media Size</source>
        <translation>用紙サイズ</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>US Letter</source>
        <translation>USレター</translation>
    </message>
</context>
</TS>
