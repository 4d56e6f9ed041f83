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
</context>
</TS>
