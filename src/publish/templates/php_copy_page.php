<?php // KAVERO page set: one copy page; runs its records' statements, then opens the next page.
require __DIR__ . '/kavero-common.php';
$kavero = kavero_open('<kavero:run>');
$login = kavero_login($kavero); // before any output: it may read the session
// One INSERT statement per record, as base64: no byte of a record can end the string or the code.
$statements = [
<kavero:statements>];
?>
<pagestart>
Coping <kavero:reached> records of <kavero:total> to mySQL server
<?php
flush();
[$pdo, $connectError] = kavero_connect($login);
<kavero:session>?>
<table>
<tr><td class="bar" colspan="2">Publish result</td></tr>
<tr><td>Connecting to the mySQL server</td><td><?= kavero_result($connectError) ?></td></tr>
<?php
$colour = '#FFFFFF';
foreach ($statements as $encoded) {
    $statement = base64_decode($encoded);
    kavero_result_row($colour, $statement, kavero_run($pdo, $connectError, $statement));
    $colour = $colour === '#FFFFFF' ? '#C0C0C0' : '#FFFFFF';
}
$next = json_encode('<kavero:next>' . kavero_key($kavero), JSON_HEX_TAG | JSON_HEX_AMP | JSON_HEX_APOS | JSON_HEX_QUOT);
?>
</table>
<script>window.location.replace(<?= $next ?>);</script>
</body>
</html>
