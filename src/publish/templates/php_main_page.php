<?php // KAVERO page set: the main page, a frame set of the table page above and the copy below.
require __DIR__ . '/kavero-common.php';
$kavero = kavero_open('<kavero:run>');
$key = kavero_html(kavero_key($kavero));
?>
<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>KAVERO Convets your MS-Access database to mySQL</title>
</head>
<frameset rows="304,*">
<frame name="header" src="createtable.php<?= $key ?>" scrolling="auto">
<frame name="main" src="startcopy.php<?= $key ?>" scrolling="auto">
<noframes>
<body>
<p>This page uses frames, but your browser doesn't support them.</p>
</body>
</noframes>
</frameset>
</html>
