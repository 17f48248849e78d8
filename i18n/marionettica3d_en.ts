<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>DialogControls</name>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DisplayToolbar</name>
    <message>
        <source>このビューだけを表示</source>
        <translation>Show only this view</translation>
    </message>
    <message>
        <source>4 つのビューを表示</source>
        <translation>Show the four views</translation>
    </message>
</context>
<context>
    <name>ExportPathDialog</name>
    <message>
        <source>glTF(*.glb *.gltf)|*.glb *.gltf||</source>
        <translation>glTF (*.glb *.gltf)|*.glb *.gltf||</translation>
    </message>
    <message>
        <source>xﾌｧｲﾙ(*.x)|*.x||</source>
        <translation>X file (*.x)|*.x||</translation>
    </message>
</context>
<context>
    <name>ExportScaleDialog</name>
    <message>
        <source>長さの倍率</source>
        <translation>Scale of lengths</translation>
    </message>
    <message>
        <source>書き出す高さ</source>
        <translation>Height written</translation>
    </message>
    <message>
        <source>すべてのフレームを直線で書き出す</source>
        <translation>Write every frame as linear keys</translation>
    </message>
    <message>
        <source>曲線を独自に読むソフトのために、各フレームの姿勢を LINEAR で書き出します</source>
        <translation>Writes the pose of every frame as LINEAR keys, for programs that read curves their own way</translation>
    </message>
</context>
<context>
    <name>ExportXDialogs</name>
    <message>
        <source>Export XFile</source>
        <translation>Export X File</translation>
    </message>
    <message>
        <source>Time Scale Factor</source>
        <translation>Time Scale Factor</translation>
    </message>
    <message>
        <source>Time Scale Factor の増減</source>
        <translation>Change the Time Scale Factor</translation>
    </message>
</context>
<context>
    <name>GridWidthDialog</name>
    <message>
        <source>グリッドの幅を変更</source>
        <translation>Change Grid Width</translation>
    </message>
    <message>
        <source>グリッドの幅</source>
        <translation>Grid width</translation>
    </message>
    <message>
        <source>グリッドの幅の増減</source>
        <translation>Change the grid width</translation>
    </message>
</context>
<context>
    <name>IkDialogs</name>
    <message>
        <source>最小（度）</source>
        <translation>Minimum (degrees)</translation>
    </message>
    <message>
        <source>最大（度）</source>
        <translation>Maximum (degrees)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ポール</source>
        <translation>Pole</translation>
    </message>
    <message>
        <source>膝や肘が向く点（ワールド座標）</source>
        <translation>Where the knee or elbow points (world)</translation>
    </message>
    <message>
        <source>ポールの%1</source>
        <translation>Pole %1</translation>
    </message>
    <message>
        <source>ポールなし</source>
        <translation>No Pole</translation>
    </message>
    <message>
        <source>関節の制限</source>
        <translation>Joint Limits</translation>
    </message>
    <message>
        <source>回転できる軸</source>
        <translation>Turns about</translation>
    </message>
    <message>
        <source>自由</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>X軸</source>
        <translation>X axis</translation>
    </message>
    <message>
        <source>Y軸</source>
        <translation>Y axis</translation>
    </message>
    <message>
        <source>Z軸</source>
        <translation>Z axis</translation>
    </message>
    <message>
        <source>最小は最大以下にしてください。</source>
        <translation>The minimum must not be above the maximum.</translation>
    </message>
</context>
<context>
    <name>ImportModelDialog</name>
    <message>
        <source>モデルを読み込む</source>
        <translation>Import Model</translation>
    </message>
    <message>
        <source>他のソフトのモデル</source>
        <translation>Models of other programs</translation>
    </message>
    <message>
        <source>長さの倍率</source>
        <translation>Scale of lengths</translation>
    </message>
    <message>
        <source>フォルダーの外の画像も読み込む</source>
        <translation>Read images outside its folder</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>読み込むアニメーション</source>
        <translation>Animations to import</translation>
    </message>
    <message>
        <source>アニメーション</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>フレーム</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>動かすパーツ</source>
        <translation>Parts moved</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>最初のキーから始める</source>
        <translation>Start at the first key</translation>
    </message>
    <message>
        <source>ファイルでの大きさ（幅×高さ×奥行）</source>
        <translation>Size in the file (W × H × D)</translation>
    </message>
</context>
<context>
    <name>MotionDialogs</name>
    <message>
        <source>モーションの長さを入力</source>
        <translation>Motion Length</translation>
    </message>
    <message>
        <source>モーションの長さ</source>
        <translation>Motion length</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>モーションの長さの増減</source>
        <translation>Change the motion length</translation>
    </message>
</context>
<context>
    <name>MoveSnapDialog</name>
    <message>
        <source>移動のスナップ</source>
        <translation>Move Snap</translation>
    </message>
    <message>
        <source>幅 (0=グリッド)</source>
        <translation>Step (0 = grid)</translation>
    </message>
</context>
<context>
    <name>MovieExportDialog</name>
    <message>
        <source>PNG（1 フレーム）</source>
        <translation>PNG (one frame)</translation>
    </message>
    <message>
        <source>PNG 連番</source>
        <translation>PNG sequence</translation>
    </message>
    <message>
        <source>WebP アニメーション</source>
        <translation>Animated WebP</translation>
    </message>
    <message>
        <source>GIF アニメーション</source>
        <translation>Animated GIF</translation>
    </message>
    <message>
        <source>MP4 動画（H.264）</source>
        <translation>MP4 video (H.264)</translation>
    </message>
    <message>
        <source>WebM 動画（VP9）</source>
        <translation>WebM video (VP9)</translation>
    </message>
    <message>
        <source>モーション</source>
        <translation>Motion</translation>
    </message>
    <message>
        <source>最初のフレーム</source>
        <translation>First frame</translation>
    </message>
    <message>
        <source>最後のフレーム</source>
        <translation>Last frame</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>frame/sec</source>
        <translation>frame/sec</translation>
    </message>
    <message>
        <source>カメラ</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>形式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>動画出力</source>
        <translation>Render Animation</translation>
    </message>
    <message>
        <source>背景を透明にする</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>動画・画像 (*.webp *.gif *.mp4 *.webm *.png)</source>
        <translation>Animations and pictures (*.webp *.gif *.mp4 *.webm *.png)</translation>
    </message>
    <message>
        <source>連番の PNG は名前の %04d がフレーム番号になります。</source>
        <translation>A sequence puts the frame number at %04d.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 など %2 個のファイルが存在しています。上書きしますか？</source>
        <translation>%1 and others, %2 files, already exist. Overwrite them?</translation>
    </message>
</context>
<context>
    <name>MovieRendering</name>
    <message>
        <source>動画出力</source>
        <translation>Render Animation</translation>
    </message>
    <message>
        <source>動画を書き出しています...</source>
        <translation>Rendering the animation...</translation>
    </message>
</context>
<context>
    <name>PartCommandDialogs</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>他のソフトのモデル</source>
        <translation>Models of other programs</translation>
    </message>
    <message>
        <source>読み込めるすべてのファイル</source>
        <translation>All files that can be read</translation>
    </message>
</context>
<context>
    <name>PartShapeDialogs</name>
    <message>
        <source>箱の中心</source>
        <translation>Box Centre</translation>
    </message>
    <message>
        <source>底面の中心</source>
        <translation>Bottom Centre</translation>
    </message>
    <message>
        <source>ワールド原点</source>
        <translation>World Origin</translation>
    </message>
    <message>
        <source>ピボットの移動</source>
        <translation>Move Pivot</translation>
    </message>
    <message>
        <source>新しいピボット（パーツ自身の座標）</source>
        <translation>New pivot (in the part's own coordinates)</translation>
    </message>
    <message>
        <source>ピボットの%1</source>
        <translation>Pivot %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>サイズ変更</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>倍率</source>
        <translation>Factor</translation>
    </message>
</context>
<context>
    <name>QtUserPrompt</name>
    <message>
        <source>テクスチャの画像を書き出しています…</source>
        <translation>Writing the texture images…</translation>
    </message>
</context>
<context>
    <name>RecoveryDialog</name>
    <message>
        <source>プロジェクト</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>元のファイル</source>
        <translation>Original file</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>パーツ</source>
        <translation>Parts</translation>
    </message>
    <message>
        <source>モーション</source>
        <translation>Motions</translation>
    </message>
    <message>
        <source>復元</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>保存されずに終わった作業を復元できます。</source>
        <translation>Work that ended without being saved can be recovered.</translation>
    </message>
    <message>
        <source>復元できるデータ</source>
        <translation>Recoverable work</translation>
    </message>
    <message>
        <source>選んだデータを破棄しますか？元に戻せません。</source>
        <translation>Discard the chosen work? This cannot be undone.</translation>
    </message>
    <message>
        <source>破棄</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>後で</source>
        <translation>Later</translation>
    </message>
</context>
<context>
    <name>ScaleDialog</name>
    <message>
        <source>スケールの変更</source>
        <translation>Change Scale</translation>
    </message>
    <message>
        <source>倍率</source>
        <translation>Factor</translation>
    </message>
</context>
<context>
    <name>SymmetryDialog</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Parent</source>
        <translation>Parent</translation>
    </message>
    <message>
        <source>Symmetry</source>
        <translation>Symmetry</translation>
    </message>
</context>
<context>
    <name>TaskProgressDialog</name>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>処理中</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>進み具合</source>
        <translation>Progress</translation>
    </message>
</context>
<context>
    <name>TextureLoadReport</name>
    <message>
        <source>テクスチャの画像を読み込んでいます…</source>
        <translation>Reading the texture images…</translation>
    </message>
    <message>
        <source>テクスチャ</source>
        <translation>Textures</translation>
    </message>
</context>
<context>
    <name>UpDownControl</name>
    <message>
        <source>増やす</source>
        <translation>Increase</translation>
    </message>
    <message>
        <source>減らす</source>
        <translation>Decrease</translation>
    </message>
</context>
<context>
    <name>core</name>
    <message>
        <source>Export xfile</source>
        <translation>Export X File</translation>
    </message>
    <message>
        <source>オブジェクトが存在しない</source>
        <translation>There are no objects.</translation>
    </message>
    <message>
        <source>モーションが存在しない</source>
        <translation>There are no motions.</translation>
    </message>
    <message>
        <source>ファイルが書き込めない</source>
        <translation>The file cannot be written.</translation>
    </message>
    <message>
        <source>Time Scale Factor: %1 から %2 までの整数を入力してください。</source>
        <translation>Time Scale Factor: enter a whole number from %1 to %2.</translation>
    </message>
    <message>
        <source>背景</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>グリッド</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>分割線</source>
        <translation>Dividers</translation>
    </message>
    <message>
        <source>Collision</source>
        <translation>Collision</translation>
    </message>
    <message>
        <source>法線</source>
        <translation>Normals</translation>
    </message>
    <message>
        <source>原点</source>
        <translation>Pivot</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Selected</translation>
    </message>
    <message>
        <source>オブジェクト</source>
        <translation>object</translation>
    </message>
    <message>
        <source>アニメ</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>ダイアログ</source>
        <translation>dialog</translation>
    </message>
    <message>
        <source>整数を入力してください。</source>
        <translation>Enter a whole number.</translation>
    </message>
    <message>
        <source>%1 から %2 までの整数を入力してください。</source>
        <translation>Enter a whole number from %1 to %2.</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <source>%1 から %2 までの数値を入力してください。</source>
        <translation>Enter a number from %1 to %2.</translation>
    </message>
    <message>
        <source>現在のデータは失われます。よろしいですか？</source>
        <translation>The current data will be lost. Continue?</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
    <message>
        <source>%1は存在します。上書きしますか？</source>
        <translation>%1 exists. Overwrite it?</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>現在のデータを保存しますか？</source>
        <translation>Save the current data?</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>ﾒﾀｾｺｲｱｵﾌﾞｼﾞｪｸﾄ(*.mqo)/最適化ﾒｯｼｭ(*.mesh)</source>
        <translation>MQO object (*.mqo)/Optimized mesh (*.mesh)</translation>
    </message>
    <message>
        <source>オブジェクトを追加</source>
        <translation>Add Object</translation>
    </message>
    <message>
        <source>オブジェクトを入れ替え</source>
        <translation>Change Object</translation>
    </message>
    <message>
        <source>同じオブジェクト名が存在します</source>
        <translation>An object with this name already exists.</translation>
    </message>
    <message>
        <source>caution</source>
        <translation>Caution</translation>
    </message>
    <message>
        <source>オブジェクト名が空か、使えない文字（/ \）を含んでいます</source>
        <translation>The object name is empty or contains a character that cannot be used (/ \).</translation>
    </message>
    <message>
        <source>同じ名前のファイルが存在します</source>
        <translation>A file with this name already exists.</translation>
    </message>
    <message>
        <source>グリッドの幅:%1</source>
        <translation>Grid width:%1</translation>
    </message>
    <message>
        <source>%1は存在しています。上書きしますか？</source>
        <translation>%1 already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>名前が入力されていません</source>
        <translation>No name has been entered.</translation>
    </message>
    <message>
        <source>モーション名に使えない文字があります</source>
        <translation>The motion name contains a character that cannot be used.</translation>
    </message>
    <message>
        <source>モーション名は16文字までです</source>
        <translation>A motion name can have at most 16 characters.</translation>
    </message>
    <message>
        <source>同じモーション名があります</source>
        <translation>A motion with this name already exists.</translation>
    </message>
    <message>
        <source>ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||</source>
        <translation>Animation file (*.anm)|*.anm||</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>ファイルがオープンできない</source>
        <translation>The file cannot be opened.</translation>
    </message>
    <message>
        <source>名称未設定</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>glTF出力</source>
        <translation>glTF Export</translation>
    </message>
    <message>
        <source>%1: 拡張子は .gltf か .glb にしてください</source>
        <translation>%1: the file name must end in .gltf or .glb.</translation>
    </message>
    <message>
        <source>frame/sec: %1 は 1 以上にしてください</source>
        <translation>frame/sec: %1 must be 1 or more.</translation>
    </message>
    <message>
        <source>倍率: %1 は 0 より大きい数にしてください</source>
        <translation>Scale: %1 must be a number above 0.</translation>
    </message>
    <message>
        <source>%1: ファイルが書き込めない (4 GiB を超える)</source>
        <translation>%1: the file cannot be written (over 4 GiB).</translation>
    </message>
    <message>
        <source>「%1」</source>
        <translation>“%1” </translation>
    </message>
    <message>
        <source>ほか%1個のファイル</source>
        <translation>and %1 more files</translation>
    </message>
    <message>
        <source>%1は読み取り専用です。上書きしますか？</source>
        <translation>Read-only: %1. Overwrite?</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>「%1」が見つかりません。最近使ったファイルの一覧から削除しました。</source>
        <translation>“%1” was not found. It has been removed from the list of recent files.</translation>
    </message>
    <message>
        <source>ヘルプのファイル「%1」が見つかりません。</source>
        <translation>The help file “%1” was not found.</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ヘルプを開けませんでした。ブラウザで次のファイルを開いてください：
%1</source>
        <translation>The help could not be opened. Open this file in a browser:
%1</translation>
    </message>
    <message>
        <source>この倍率ではモデルの値が浮動小数点数の範囲を超えるため、スケールを変更しませんでした。</source>
        <translation>With this factor the model's values would leave the floating-point range, so the scale was not changed.</translation>
    </message>
    <message>
        <source>スケールの変更</source>
        <translation>Change Scale</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>環境設定（&amp;C）</source>
        <translation>&amp;Configuration</translation>
    </message>
    <message>
        <source>&amp;Parts</source>
        <translation>&amp;Parts</translation>
    </message>
    <message>
        <source>&amp;Option</source>
        <translation>&amp;Option</translation>
    </message>
    <message>
        <source>追加機能（&amp;A）</source>
        <translation>&amp;Advanced</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>新規作成（&amp;N）</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く（&amp;O）</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>上書き保存（S）</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>名前を付けて保存（&amp;A）</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>色の変更</source>
        <translation>Change Colours...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>追加（&amp;A）</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>パーツの追加</source>
        <translation>Add Part</translation>
    </message>
    <message>
        <source>削除（&amp;D）</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>パーツの削除</source>
        <translation>Delete Part</translation>
    </message>
    <message>
        <source>入れ替え（&amp;C）</source>
        <translation>&amp;Change File...</translation>
    </message>
    <message>
        <source>パーツの入れ替え</source>
        <translation>Swap Part</translation>
    </message>
    <message>
        <source>反転して追加（&amp;R）</source>
        <translation>Add Mi&amp;rrored...</translation>
    </message>
    <message>
        <source>反転して追加</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>対称関係（&amp;S）</source>
        <translation>&amp;Symmetry...</translation>
    </message>
    <message>
        <source>対称関係</source>
        <translation>Symmetry</translation>
    </message>
    <message>
        <source>正面から照らす（&amp;F）</source>
        <translation>Light from the &amp;Front</translation>
    </message>
    <message>
        <source>グリッドの幅を変更（&amp;C）</source>
        <translation>&amp;Change Grid Width...</translation>
    </message>
    <message>
        <source>スケールの調整（&amp;S）</source>
        <translation>Adjust &amp;Scale...</translation>
    </message>
    <message>
        <source>スケールの調整</source>
        <translation>Scale Model</translation>
    </message>
    <message>
        <source>左右逆のポーズにする（&amp;R）</source>
        <translation>Mi&amp;rror the Pose</translation>
    </message>
    <message>
        <source>左右逆のポーズ</source>
        <translation>Mirror Pose</translation>
    </message>
    <message>
        <source>全オブジェクトの一番下を地面に合わせる（&amp;G）</source>
        <translation>Put the Lowest Point on the &amp;Ground</translation>
    </message>
    <message>
        <source>地面に合わせる</source>
        <translation>Drop to Ground</translation>
    </message>
    <message>
        <source>選択オブジェクトを水平にする（&amp;H）</source>
        <translation>Make the Selected Object &amp;Horizontal</translation>
    </message>
    <message>
        <source>水平にする</source>
        <translation>Level Part</translation>
    </message>
    <message>
        <source>Xファイル出力（&amp;X）</source>
        <translation>Export &amp;X File...</translation>
    </message>
    <message>
        <source>glTF出力（&amp;T）</source>
        <translation>Export gl&amp;TF...</translation>
    </message>
    <message>
        <source>余計なキーを削除（&amp;D）</source>
        <translation>&amp;Delete Redundant Keys</translation>
    </message>
    <message>
        <source>余計なキーを削除</source>
        <translation>Delete Redundant Keys</translation>
    </message>
    <message>
        <source>左右逆のモーションにする（&amp;M）</source>
        <translation>&amp;Mirror the Motion</translation>
    </message>
    <message>
        <source>左右逆のモーション</source>
        <translation>Mirror Motion</translation>
    </message>
    <message>
        <source>全てのキーフレームで一番下を地面に合わせる（&amp;A）</source>
        <translation>Put the Lowest Point on the Ground in &amp;All Keyframes</translation>
    </message>
    <message>
        <source>全てのキーフレームで地面に合わせる</source>
        <translation>Ground All Keyframes</translation>
    </message>
    <message>
        <source>選択オブジェクトを全てのキーフレームで水平にする（&amp;L）</source>
        <translation>&amp;Level the Selected Object in All Keyframes</translation>
    </message>
    <message>
        <source>全てのキーフレームで水平にする</source>
        <translation>Level Part in All Keyframes</translation>
    </message>
    <message>
        <source>モーションをZ方向に反転させる（&amp;Z）</source>
        <translation>Turn the Motion Around in &amp;Z</translation>
    </message>
    <message>
        <source>Z方向に反転</source>
        <translation>Turn Motion Around</translation>
    </message>
    <message>
        <source>目次（&amp;M）</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>ユーザーガイド（&amp;G）</source>
        <translation>User &amp;Guide</translation>
    </message>
    <message>
        <source>バージョン情報（&amp;A）</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>相対回転を設定</source>
        <translation>Set Relative Rotation</translation>
    </message>
    <message>
        <source>回転</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>絶対回転を設定</source>
        <translation>Set Absolute Rotation</translation>
    </message>
    <message>
        <source>相対移動を設定</source>
        <translation>Set Relative Position</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>絶対移動を設定</source>
        <translation>Set Absolute Position</translation>
    </message>
    <message>
        <source>左右連動</source>
        <translation>Link L/R</translation>
    </message>
    <message>
        <source>視点調整</source>
        <translation>Fit Views</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>モーション一覧</source>
        <translation>Motions</translation>
    </message>
    <message>
        <source>新規モーション</source>
        <translation>New Motion</translation>
    </message>
    <message>
        <source>モーションの追加</source>
        <translation>Add Motion</translation>
    </message>
    <message>
        <source>モーションの削除</source>
        <translation>Delete Motion</translation>
    </message>
    <message>
        <source>モーションの名前変更</source>
        <translation>Rename Motion</translation>
    </message>
    <message>
        <source>モーション名の変更</source>
        <translation>Rename Motion</translation>
    </message>
    <message>
        <source>モーションの長さ変更</source>
        <translation>Change Motion Length</translation>
    </message>
    <message>
        <source>長さの変更</source>
        <translation>Change Length</translation>
    </message>
    <message>
        <source>キーの設定</source>
        <translation>Set Key</translation>
    </message>
    <message>
        <source>キーの削除</source>
        <translation>Delete Key</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>再生の停止</source>
        <translation>Stop Playback</translation>
    </message>
    <message>
        <source>全パーツのキーの設定</source>
        <translation>Set Keys of All Parts</translation>
    </message>
    <message>
        <source>全パーツのキーを削除</source>
        <translation>Delete Keys of All Parts</translation>
    </message>
    <message>
        <source>全パーツのキーの削除</source>
        <translation>Delete Keys of All Parts</translation>
    </message>
    <message>
        <source>キーをコピー</source>
        <translation>Copy Keys</translation>
    </message>
    <message>
        <source>キーを貼り付け</source>
        <translation>Paste Keys</translation>
    </message>
    <message>
        <source>キーの貼り付け</source>
        <translation>Paste Keys</translation>
    </message>
    <message>
        <source>frame/sec</source>
        <translation>frame/sec</translation>
    </message>
    <message>
        <source>タイムラインのポーズ</source>
        <translation>Timeline Pose</translation>
    </message>
    <message>
        <source>表示（&amp;V）</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>全体表示（&amp;F）</source>
        <translation>&amp;Fit Whole Model</translation>
    </message>
    <message>
        <source>次のテクスチャは使えなかったため、書き出していません:</source>
        <translation>These textures could not be used and were not exported:</translation>
    </message>
    <message>
        <source>次の画像は、モデルとプロジェクトのフォルダーの外から取り込みました:</source>
        <translation>These images were taken from outside the model's and the project's folders:</translation>
    </message>
    <message>
        <source>ほか%1個</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>%1は存在し、%2は読み取り専用です。上書きしますか？</source>
        <translation>%1 exist, and %2 read-only. Overwrite them?</translation>
    </message>
    <message>
        <source>ディスクの空きが足りないため書き込めない</source>
        <translation>Cannot write: the disk is full</translation>
    </message>
    <message>
        <source>読み取り専用の場所のため書き込めない</source>
        <translation>Cannot write: the place is read-only</translation>
    </message>
    <message>
        <source>書き込む権限がないため書き込めない</source>
        <translation>Cannot write: no permission</translation>
    </message>
    <message>
        <source>ファイル名が長すぎるため書き込めない</source>
        <translation>Cannot write: the file name is too long</translation>
    </message>
    <message>
        <source>ファイルが大きすぎるため書き込めない</source>
        <translation>Cannot write: the file is too large</translation>
    </message>
    <message>
        <source>次のテクスチャは使えません:</source>
        <translation>These textures cannot be used:</translation>
    </message>
    <message>
        <source>モーション（&amp;M）</source>
        <translation>&amp;Motion</translation>
    </message>
    <message>
        <source>再生/停止（&amp;P）</source>
        <translation>&amp;Play/Stop</translation>
    </message>
    <message>
        <source>前のフレーム（&amp;B）</source>
        <translation>&amp;Back One Frame</translation>
    </message>
    <message>
        <source>次のフレーム（&amp;F）</source>
        <translation>&amp;Forward One Frame</translation>
    </message>
    <message>
        <source>前のキー（&amp;R）</source>
        <translation>P&amp;revious Key</translation>
    </message>
    <message>
        <source>次のキー（&amp;X）</source>
        <translation>Ne&amp;xt Key</translation>
    </message>
    <message>
        <source>最初のフレーム（&amp;H）</source>
        <translation>Go to &amp;Start</translation>
    </message>
    <message>
        <source>最後のフレーム（&amp;E）</source>
        <translation>Go to &amp;End</translation>
    </message>
    <message>
        <source>キーを設定（&amp;K）</source>
        <translation>Set &amp;Key</translation>
    </message>
    <message>
        <source>全パーツのキーを設定（&amp;A）</source>
        <translation>Set Keys of &amp;All Parts</translation>
    </message>
    <message>
        <source>キーを削除（&amp;D）</source>
        <translation>&amp;Delete Key</translation>
    </message>
    <message>
        <source>実時間</source>
        <translation>Real time</translation>
    </message>
    <message>
        <source>フレームの移動</source>
        <translation>Go to Frame</translation>
    </message>
    <message>
        <source>キーの移動</source>
        <translation>Move Keys</translation>
    </message>
    <message>
        <source>名前の変更（&amp;N）</source>
        <translation>Re&amp;name...</translation>
    </message>
    <message>
        <source>名前の変更</source>
        <translation>Rename Part</translation>
    </message>
    <message>
        <source>親の変更</source>
        <translation>Change Parent</translation>
    </message>
    <message>
        <source>プロジェクトファイルに保存できない名前です。Shift-JISで表せる文字（制御文字を除く）で259バイトまでにしてください。</source>
        <translation>A project file cannot hold this name: use characters that Shift-JIS has (no control characters), at most 259 bytes.</translation>
    </message>
    <message>
        <source>「いいえ」と答えた次のmeshファイルは古い形のまま残り、画面のモデルと一致しません。保存は完全ではありません。
%1</source>
        <translation>These .mesh files were answered "No" and keep their old geometry, which does not match the model on screen. The save is not complete.
%1</translation>
    </message>
    <message>
        <source>「%1」はプロジェクトファイルに保存すると「%2」に変わってしまいます。代わりに「%3」を入力してください。</source>
        <translation>"%1" would turn into "%2" in the project file. Type "%3" instead.</translation>
    </message>
    <message>
        <source>%1の保存が途中で止まっていたが、完了も取り消しもできない。
%2</source>
        <translation>The save of %1 had stopped part way and can be neither completed nor undone.
%2</translation>
    </message>
    <message>
        <source>%1の保存が途中で止まっていたため、残りのファイルを置いて保存を完了した。</source>
        <translation>The save of %1 had stopped part way; its remaining files were put in place to complete it.</translation>
    </message>
    <message>
        <source>%1の保存が途中で止まっていたため、保存前のファイルに戻した。</source>
        <translation>The save of %1 had stopped part way; the files as they were before it were put back.</translation>
    </message>
    <message>
        <source>中断された保存</source>
        <translation>Interrupted save</translation>
    </message>
    <message>
        <source>モデルを読み込む（&amp;I）...</source>
        <translation>&amp;Import Model...</translation>
    </message>
    <message>
        <source>モデルの読み込み</source>
        <translation>Import Model</translation>
    </message>
    <message>
        <source>次のものは読み込めませんでした:</source>
        <translation>These could not be brought in:</translation>
    </message>
    <message>
        <source>補間の変更</source>
        <translation>Change Interpolation</translation>
    </message>
    <message>
        <source>補間（&amp;I）</source>
        <translation>&amp;Interpolation</translation>
    </message>
    <message>
        <source>新しいキーの補間（&amp;N）</source>
        <translation>For &amp;New Keys</translation>
    </message>
    <message>
        <source>リニア（&amp;L）</source>
        <translation>&amp;Linear</translation>
    </message>
    <message>
        <source>スムーズ（&amp;S）</source>
        <translation>&amp;Smooth</translation>
    </message>
    <message>
        <source>イーズイン（&amp;I）</source>
        <translation>Ease &amp;In</translation>
    </message>
    <message>
        <source>イーズアウト（&amp;O）</source>
        <translation>Ease &amp;Out</translation>
    </message>
    <message>
        <source>イーズインアウト（&amp;B）</source>
        <translation>Ease In-O&amp;ut</translation>
    </message>
    <message>
        <source>ステップ（&amp;T）</source>
        <translation>S&amp;tep</translation>
    </message>
    <message>
        <source>カーブ（&amp;C）</source>
        <translation>&amp;Curves</translation>
    </message>
    <message>
        <source>ピボットの移動（&amp;P）...</source>
        <translation>Move &amp;Pivot...</translation>
    </message>
    <message>
        <source>ピボットの移動</source>
        <translation>Move Pivot</translation>
    </message>
    <message>
        <source>サイズ変更（&amp;Z）...</source>
        <translation>Resi&amp;ze...</translation>
    </message>
    <message>
        <source>サイズ変更</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>モーションがありません</source>
        <translation>No Motion</translation>
    </message>
    <message>
        <source>パーツが選択されていません</source>
        <translation>No Part selected</translation>
    </message>
    <message>
        <source>%1 に書き出しました。</source>
        <translation>Written to %1.</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>ローカル軸（&amp;L）</source>
        <translation>&amp;Local Axes</translation>
    </message>
    <message>
        <source>キーで回転</source>
        <translation>Rotate by Keys</translation>
    </message>
    <message>
        <source>キーで移動</source>
        <translation>Move by Keys</translation>
    </message>
    <message>
        <source>X軸に限定</source>
        <translation>Hold to X</translation>
    </message>
    <message>
        <source>Y軸に限定</source>
        <translation>Hold to Y</translation>
    </message>
    <message>
        <source>Z軸に限定</source>
        <translation>Hold to Z</translation>
    </message>
    <message>
        <source>ドラッグを確定</source>
        <translation>Confirm Drag</translation>
    </message>
    <message>
        <source>ドラッグを取り消す</source>
        <translation>Cancel Drag</translation>
    </message>
    <message>
        <source>IK（&amp;K）</source>
        <translation>I&amp;K</translation>
    </message>
    <message>
        <source>IKで動かす（&amp;I）</source>
        <translation>Move by &amp;IK</translation>
    </message>
    <message>
        <source>チェーンを長く（&amp;L）</source>
        <translation>&amp;Longer Chain</translation>
    </message>
    <message>
        <source>チェーンを短く（&amp;S）</source>
        <translation>&amp;Shorter Chain</translation>
    </message>
    <message>
        <source>ピン留め（&amp;N）</source>
        <translation>Pi&amp;n</translation>
    </message>
    <message>
        <source>ポール（&amp;O）...</source>
        <translation>P&amp;ole...</translation>
    </message>
    <message>
        <source>関節の制限（&amp;J）...</source>
        <translation>&amp;Joint Limits...</translation>
    </message>
    <message>
        <source>関節の制限</source>
        <translation>Joint Limits</translation>
    </message>
    <message>
        <source>IKで動いたパーツをキー登録（&amp;K）</source>
        <translation>&amp;Key the Parts IK Moved</translation>
    </message>
    <message>
        <source>IKのキー登録</source>
        <translation>Key the Parts IK Moved</translation>
    </message>
    <message>
        <source>IK</source>
        <translation>IK</translation>
    </message>
    <message>
        <source>描画の準備ができていません。</source>
        <translation>The views are not ready to draw yet.</translation>
    </message>
    <message>
        <source>動画出力（&amp;V）...</source>
        <translation>&amp;Render Animation...</translation>
    </message>
    <message>
        <source>書き出すモーションがありません。</source>
        <translation>There is no Motion to render.</translation>
    </message>
    <message>
        <source>フレームの範囲は 0 から %1 までで、始めを終わり以下にしてください。</source>
        <translation>Frames range from 0 to %1, and the first may not come after the last.</translation>
    </message>
    <message>
        <source>大きさは %1 から %2 ピクセルまでにしてください。</source>
        <translation>The size must be %1 to %2 pixels.</translation>
    </message>
    <message>
        <source>フレームレートは 1 から 120 までにしてください。</source>
        <translation>The frame rate must be 1 to 120.</translation>
    </message>
    <message>
        <source>ビューを選んでください。</source>
        <translation>Choose a view.</translation>
    </message>
    <message>
        <source>書き出すファイルの名前を入力してください。</source>
        <translation>Enter the name of the file to write.</translation>
    </message>
    <message>
        <source>ファイルの名前は .webp .gif .mp4 .webm .png か、連番の PNG なら NAME%04d.png にしてください。</source>
        <translation>The file name must end in .webp, .gif, .mp4, .webm or .png, or be NAME%04d.png for a PNG sequence.</translation>
    </message>
    <message>
        <source>1 枚の PNG には 1 フレームだけ書けます。連番なら NAME%04d.png にしてください。</source>
        <translation>One PNG holds one frame; name a sequence NAME%04d.png.</translation>
    </message>
    <message>
        <source>動画の背景は透明にできません。</source>
        <translation>A video cannot have a transparent background.</translation>
    </message>
    <message>
        <source>その点はパーツから遠すぎて、形を保ったままピボットを移せないため、移動しませんでした。</source>
        <translation>That point is too far from the Part to move its pivot there and keep its shape, so the pivot was not moved.</translation>
    </message>
    <message>
        <source>途中で止まった保存の記録%1は使えないため、何も変更していない。
%2</source>
        <translation>%1, the record of a save that stopped part way, cannot be used; nothing was changed.
%2</translation>
    </message>
    <message>
        <source>次のファイルは記録と違うため、触れていない:
%1</source>
        <translation>These files differ from the record and were left as they are:
%1</translation>
    </message>
    <message>
        <source>%2の保存が途中で止まったまま残っている（記録%1）。読むだけなので何も変更していない。編集のために開くか、そのフォルダーに書き込むと、完了するか元に戻す。</source>
        <translation>A save of %2 stopped part way and is still pending (record: %1). It was only read, so nothing was changed; opening it for editing, or writing into its folder, completes or undoes the save.</translation>
    </message>
    <message>
        <source>復元できるデータはありません。</source>
        <translation>There is nothing to recover.</translation>
    </message>
    <message>
        <source>復元</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>復元…</source>
        <translation>Recover…</translation>
    </message>
    <message>
        <source>%1は開いた後に変更されています。上書きしますか？</source>
        <translation>%1 has changed since it was opened. Overwrite it?</translation>
    </message>
    <message>
        <source>次のパーツは同じ名前の他のパーツと形が違うため、別のmeshファイルに保存した。
%1</source>
        <translation>These Parts differ in shape from other Parts of their name and were saved into .mesh files of their own.
%1</translation>
    </message>
    <message>
        <source>アニメーション「%1」（キーが %2 秒から始まり、%3 フレーム（%4 fps で %5 秒）の後にあるため、入れていません）</source>
        <translation>animation '%1' (its keys start at %2 s, after the %3 frames, %5 s at %4 fps, a Motion holds; left out)</translation>
    </message>
    <message>
        <source>アニメーション「%1」の %2 秒より後（%3 フレーム、%4 fps で切りました）</source>
        <translation>animation '%1' after %2 s (cut at %3 frames, %4 fps)</translation>
    </message>
    <message>
        <source>：再生のフレームレートを %1 にして読み込むと全部入ります</source>
        <translation>; at a playback frame rate of %1 it comes in whole</translation>
    </message>
    <message>
        <source>エクスポート（&amp;E）</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>移動のスナップ（&amp;N）...</source>
        <translation>Move S&amp;nap...</translation>
    </message>
    <message>
        <source>高さ %1</source>
        <translation>Height %1</translation>
    </message>
    <message>
        <source>高さ %1（%2）</source>
        <translation>Height %1 (%2)</translation>
    </message>
    <message>
        <source>ループ（&amp;L）</source>
        <translation>&amp;Loop</translation>
    </message>
    <message>
        <source>ループの切り替え</source>
        <translation>Loop On/Off</translation>
    </message>
    <message>
        <source>両端を合わせる（&amp;M）</source>
        <translation>&amp;Match Ends</translation>
    </message>
    <message>
        <source>両端を合わせる</source>
        <translation>Match Ends</translation>
    </message>
    <message>
        <source>キー値の変更</source>
        <translation>Change Key Values</translation>
    </message>
    <message>
        <source>ハンドルを水平に</source>
        <translation>Flatten Handles</translation>
    </message>
    <message>
        <source>ハンドルの移動</source>
        <translation>Move Handle</translation>
    </message>
    <message>
        <source>各フレームに書き出した曲線の、フレームの間でのずれ: 最大 %1（長さ）、%2°</source>
        <translation>Curves written at every frame stray between frames by at most %1 (length) and %2°</translation>
    </message>
</context>
<context>
    <name>m3d::ColourDialog</name>
    <message>
        <source>色の設定</source>
        <translation>Colour Settings</translation>
    </message>
    <message>
        <source>標準に戻す</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>m3d::CommandActions</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>メモリが足りないため、処理を中止しました。</source>
        <translation>Not enough memory: the command was stopped.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>m3d::CurvePanel</name>
    <message>
        <source>カーブ</source>
        <translation>Curves</translation>
    </message>
    <message>
        <source>回転 %1 のカーブ</source>
        <translation>Rotation %1 curve</translation>
    </message>
    <message>
        <source>移動 %1 のカーブ</source>
        <translation>Position %1 curve</translation>
    </message>
    <message>
        <source>フィット</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>すべてのフレームと値を表示します（ダブルクリックでも）</source>
        <translation>Shows every frame and value (so does a double click)</translation>
    </message>
    <message>
        <source>正規化</source>
        <translation>Normalise</translation>
    </message>
    <message>
        <source>各カーブをそれぞれの最小値から最大値までの高さで表示します</source>
        <translation>Draws each curve from its own lowest value to its highest over the full height</translation>
    </message>
    <message>
        <source>値</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>選んだキーの値</source>
        <translation>Value of the selected keys</translation>
    </message>
    <message>
        <source>選んだキーの値。入力して Enter で設定します</source>
        <translation>Value of the selected keys. Type a value and press Enter to set it</translation>
    </message>
    <message>
        <source>自動クランプ（&amp;C）</source>
        <translation>Auto &amp;Clamped</translation>
    </message>
    <message>
        <source>自動（&amp;A）</source>
        <translation>&amp;Auto</translation>
    </message>
    <message>
        <source>ベクトル（&amp;V）</source>
        <translation>&amp;Vector</translation>
    </message>
    <message>
        <source>リニア（&amp;L）</source>
        <translation>&amp;Linear</translation>
    </message>
    <message>
        <source>ステップ（&amp;T）</source>
        <translation>S&amp;tep</translation>
    </message>
    <message>
        <source>整列（&amp;N）</source>
        <translation>Alig&amp;ned</translation>
    </message>
    <message>
        <source>フリー（&amp;B）</source>
        <translation>Free (&amp;Broken)</translation>
    </message>
    <message>
        <source>ハンドルを水平に（&amp;H）</source>
        <translation>Flatten &amp;Handles</translation>
    </message>
</context>
<context>
    <name>m3d::DisplayToolbar</name>
    <message>
        <source>Collision</source>
        <translation>Collision</translation>
    </message>
    <message>
        <source>辺</source>
        <translation>E</translation>
    </message>
    <message>
        <source>面</source>
        <translation>F</translation>
    </message>
    <message>
        <source>法線</source>
        <translation>Nrm</translation>
    </message>
    <message>
        <source>原点</source>
        <translation>Piv</translation>
    </message>
    <message>
        <source>選択の表示</source>
        <translation>Selection</translation>
    </message>
    <message>
        <source>オニオンスキン</source>
        <translation>Onion skin</translation>
    </message>
    <message>
        <source>ズーム</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>パン</source>
        <translation>Pan</translation>
    </message>
    <message>
        <source>表示ツールバー %1</source>
        <translation>Display toolbar %1</translation>
    </message>
    <message>
        <source>ビューの種類</source>
        <translation>View type</translation>
    </message>
    <message>
        <source>辺</source>
        <comment>tooltip</comment>
        <translation>E</translation>
    </message>
    <message>
        <source>面</source>
        <comment>tooltip</comment>
        <translation>F</translation>
    </message>
    <message>
        <source>Collision</source>
        <comment>tooltip</comment>
        <translation>Collision</translation>
    </message>
    <message>
        <source>法線</source>
        <comment>tooltip</comment>
        <translation>Nrm</translation>
    </message>
    <message>
        <source>原点</source>
        <comment>tooltip</comment>
        <translation>Piv</translation>
    </message>
    <message>
        <source>選択の表示</source>
        <comment>tooltip</comment>
        <translation>Selection</translation>
    </message>
    <message>
        <source>オニオンスキン</source>
        <comment>tooltip</comment>
        <translation>Onion skin</translation>
    </message>
    <message>
        <source>軌跡</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>軌跡</source>
        <comment>tooltip</comment>
        <translation>Motion path</translation>
    </message>
    <message>
        <source>IKで動かす（I）: チェーンの長さ</source>
        <comment>tooltip</comment>
        <translation>Move by IK (I): the chain length</translation>
    </message>
    <message>
        <source>IK %1</source>
        <translation>IK %1</translation>
    </message>
    <message>
        <source>IKで動かす（チェーンの長さ %1）</source>
        <translation>Move by IK (chain length %1)</translation>
    </message>
</context>
<context>
    <name>m3d::FieldDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>m3d::MeshOverwriteDialog</name>
    <message>
        <source>meshファイル出力</source>
        <translation>.mesh File Output</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>すべてはい</source>
        <translation>Yes to All</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>m3d::MotionNameDialog</name>
    <message>
        <source>現在のモーションを複製</source>
        <translation>Copy the current motion</translation>
    </message>
    <message>
        <source>モーション名入力</source>
        <translation>Motion Name</translation>
    </message>
    <message>
        <source>モーション名</source>
        <translation>Motion name</translation>
    </message>
    <message>
        <source>決定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>m3d::MotionPanel</name>
    <message>
        <source>モーション一覧</source>
        <translation>Motions</translation>
    </message>
    <message>
        <source>新規</source>
        <translation>New</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>名前変更</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>長さ変更</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>表示するパーツ</source>
        <translation>Parts shown</translation>
    </message>
    <message>
        <source>表示するフレーム</source>
        <translation>Frames shown</translation>
    </message>
    <message>
        <source>実時間</source>
        <translation>Real time</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>frame/sec</source>
        <translation>frame/sec</translation>
    </message>
    <message>
        <source>frame/sec の増減</source>
        <translation>Change frame/sec</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>SetAll</source>
        <translation>SetAll</translation>
    </message>
    <message>
        <source>DelAll</source>
        <translation>DelAll</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>現在:%1</source>
        <translation>Now:%1</translation>
    </message>
    <message>
        <source>全体:%1</source>
        <translation>Total:%1</translation>
    </message>
    <message>
        <source>%1 fps</source>
        <translation>%1 fps</translation>
    </message>
    <message>
        <source>ループ</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>最後のフレームを最初のフレームにつなげて繰り返します</source>
        <translation>Repeats the Motion, its last frame joined to its first</translation>
    </message>
</context>
<context>
    <name>m3d::PartNameDialog</name>
    <message>
        <source>オブジェクト名入力</source>
        <translation>Object Name</translation>
    </message>
    <message>
        <source>オブジェクト名</source>
        <translation>Object name</translation>
    </message>
    <message>
        <source>決定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>m3d::PartsPanel</name>
    <message>
        <source>Parts</source>
        <translation>Parts</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>入れ替え</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>反転して追加</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>対称関係</source>
        <translation>Symmetry</translation>
    </message>
</context>
<context>
    <name>m3d::SymmetryDialog</name>
    <message>
        <source>左右対称の設定</source>
        <translation>Symmetry Settings</translation>
    </message>
    <message>
        <source>%1 行目の対称相手</source>
        <translation>Symmetry partner of row %1</translation>
    </message>
    <message>
        <source>表示する行</source>
        <translation>Rows shown</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>m3d::TransformPanel</name>
    <message>
        <source>回転</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>左右連動</source>
        <translation>Link L/R</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>視点調整</source>
        <translation>Fit Views</translation>
    </message>
    <message>
        <source>グリッド</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>相対</source>
        <translation>Rel</translation>
    </message>
    <message>
        <source>絶対</source>
        <translation>Abs</translation>
    </message>
    <message>
        <source>%1%2 %3</source>
        <comment>a field: its row, group and axis</comment>
        <translation>%1 %2 %3</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
</context>
<context>
    <name>m3d::VersionDialog</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>ポーズとアニメーションのエディタ</source>
        <translation>Pose and animation editor</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
