<?php // KAVERO page set: the button that starts the chain of copy pages.
require __DIR__ . '/kavero-common.php';
$kavero = kavero_open('<kavero:run>');
?>
<pagestart>
<form method="get" name="KAVERO" action="<kavero:firstpage>">
<table>
<tr><td class="bar">KAVERO<br>copy your data to your mySQL server</td></tr>
<tr><td>First create the table on by pressing the button above.<br>
When you successful have create the table.<br>
Start copying the data by press this button below.</td></tr>
<tr><td><input type="submit" value="Start copy <kavero:total> records to your mySQL server"></td></tr>
</table>
<input type="hidden" name="t" value="<?= kavero_html($kavero['token']) ?>">
</form>
</body>
</html>
