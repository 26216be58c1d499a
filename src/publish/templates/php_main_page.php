<?php // KAVERO page set: the main page; the frame set of the ASP pages follows, its frames carrying the key.
require __DIR__ . '/kavero-common.php';
$kavero = kavero_open('<kavero:run>');
$key = kavero_html(kavero_key($kavero));
?>
