<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>FrameActions</name>
    <message>
        <source>PNG image</source>
        <translation>PNG 画像</translation>
    </message>
    <message>
        <source>SVG drawing</source>
        <translation>SVG 図形</translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation>PDF 文書</translation>
    </message>
    <message>
        <source>Figure</source>
        <translation>図</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>グラフ</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>表</translation>
    </message>
    <message>
        <source>Save picture</source>
        <translation>画像を保存</translation>
    </message>
    <message>
        <source>Picture to save:</source>
        <translation>保存する画像:</translation>
    </message>
    <message>
        <source>Worksheet with the answers (解答用)</source>
        <translation>解答用ワークシート（答えを記入）</translation>
    </message>
    <message>
        <source>Worksheet for students (問題用)</source>
        <translation>問題用ワークシート（生徒が書き込む）</translation>
    </message>
    <message>
        <source>Worksheet to print:</source>
        <translation>印刷するワークシート:</translation>
    </message>
    <message>
        <source>The picture could not be saved in %1: %2.</source>
        <translation>画像を %1 に保存できませんでした（%2）。</translation>
    </message>
    <message>
        <source>Print worksheet</source>
        <translation>ワークシートを印刷</translation>
    </message>
    <message>
        <source>The worksheet could not be saved in %1: %2.</source>
        <translation>ワークシートを %1 に保存できませんでした（%2）。</translation>
    </message>
    <message>
        <source>The worksheet could not be printed: the printer could not be opened.</source>
        <translation>ワークシートを印刷できませんでした（プリンターを開けませんでした）。</translation>
    </message>
    <message>
        <source>About kansu</source>
        <translation>このソフトについて</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;４.関数 — 関数の利用&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;A lesson for junior high school: points P and Q move on the square ABCD, and the area of triangle BPQ is shown as a figure, a graph and a table.&lt;/p&gt;&lt;p&gt;Free software under the MIT licence.&lt;/p&gt;&lt;p&gt;Its text is set in IPA P Gothic (IPA Font License v1.0).&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;４.関数 — 関数の利用&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;正方形 ABCD の上を動く点 P, Q と三角形 BPQ の面積を、図・グラフ・表で示す授業用ソフトです。&lt;/p&gt;&lt;p&gt;MIT ライセンスのフリーソフトウェアです。&lt;/p&gt;&lt;p&gt;文字は IPA P ゴシック（IPA フォントライセンス v1.0）で表示しています。&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Open…</source>
        <translation>開く…</translation>
    </message>
    <message>
        <source>Open a problem</source>
        <translation>問題を開く</translation>
    </message>
    <message>
        <source>Problem (*.json);;All files (*)</source>
        <translation>問題 (*.json);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>%1 is no problem kansu can show: %2.</source>
        <translation>%1 は表示できる問題ではありません（%2）。</translation>
    </message>
</context>
<context>
    <name>PictureFiles</name>
    <message>
        <source>the picture could not be drawn</source>
        <translation>画像を描けませんでした</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>the picture could not be encoded</source>
        <translation>画像を書き出せませんでした</translation>
    </message>
</context>
<context>
    <name>kansu::LessonFrame</name>
    <message>
        <source>Copy figure</source>
        <translation>図をコピー</translation>
    </message>
    <message>
        <source>Save picture…</source>
        <translation>画像を保存…</translation>
    </message>
    <message>
        <source>Print worksheet…</source>
        <translation>ワークシートを印刷…</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>全画面</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <source>Actual size (100%)</source>
        <translation>等倍 (100%)</translation>
    </message>
    <message>
        <source>About kansu</source>
        <translation>このソフトについて</translation>
    </message>
    <message>
        <source>Problem</source>
        <translation>問題</translation>
    </message>
</context>
</TS>
