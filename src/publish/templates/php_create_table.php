<?php // KAVERO page set: the login form and the table script, run statement by statement on submit.
require __DIR__ . '/kavero-common.php';
$kavero = kavero_open('<kavero:run>');
$script = base64_decode('<kavero:script>');
$login = kavero_login($kavero); // before any output: it may read the session
$submitted = ($_SERVER['REQUEST_METHOD'] ?? '') === 'POST' && ($_POST['cmd'] ?? '') === 'run';
if ($submitted) {
    $login = kavero_keep_login($kavero, $_POST);
    $script = is_string($_POST['q'] ?? null) ? $_POST['q'] : '';
}
?>
<pagestart>
<form method="post" name="KAVERO" action="createtable.php<?= kavero_html(kavero_key($kavero)) ?>">
<table>
<tr><td class="bar" colspan="2">KAVERO Publish your MS-Access databases to mySQL</td></tr>
<tr><td>Server name</td><td><input type="text" name="s" size="40" value="<?= kavero_html($login['server']) ?>"></td></tr>
<tr><td>Database name</td><td><input type="text" name="d" size="40" value="<?= kavero_html($login['database']) ?>"></td></tr>
<tr><td>Username</td><td><input type="text" name="u" size="40" value="<?= kavero_html($login['user']) ?>"></td></tr>
<tr><td>Password</td><td><input type="password" name="p" size="40" value="" autocomplete="new-password" placeholder="<?= $login['password'] === '' ? 'none kept on the server: type it' : 'kept on the server: type only to change it' ?>"></td></tr>
<tr><td>SQL Script</td><td><textarea name="q" rows="10" cols="74">
<?= kavero_html($script) ?></textarea></td></tr>
<tr><td colspan="2"><input type="submit" value="Submit to mySQL server"> <input type="reset" value="Reset">
<input type="hidden" name="cmd" value="run"></td></tr>
</table>
</form>
<?php
if ($submitted) {
    [$pdo, $connectError] = kavero_connect($login);
?>
<table>
<tr><td><b>To use the mySQL server in your PHP script use the following connection</b></td></tr>
<tr><td>$conn = new PDO(&quot;<?= kavero_html(kavero_dsn($login)) ?>&quot;, &quot;<?= kavero_html($login['user']) ?>&quot;, $password);</td></tr>
</table>
<table>
<tr><td class="bar" colspan="2">Publish result</td></tr>
<tr><td>Connecting to the mySQL server</td><td><?= kavero_result($connectError) ?></td></tr>
<?php
    flush();
    $colour = '#C0C0C0';
    foreach (kavero_statements($script) as $statement) {
        if (strlen($statement) > 2) {
            kavero_result_row($colour, $statement, kavero_run($pdo, $connectError, $statement));
        } else {
            echo '<tr style="background-color: ', $colour, "\"></tr>\r\n";
        }
        $colour = $colour === '#C0C0C0' ? '#FFFFFF' : '#C0C0C0';
    }
    echo "</table>\r\n";
}
?>
</body>
</html>
