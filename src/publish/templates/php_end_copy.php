<?php // KAVERO page set: the end of the copy; lists the table as the server holds it and locks the pages.
require __DIR__ . '/kavero-common.php';
$kavero = kavero_open('<kavero:run>');
$login = kavero_login($kavero); // before any output: it may read the session
$query = base64_decode('<kavero:query>');
$fields = array_map('base64_decode', [<kavero:fields>]);
?>
<pagestart>
<table>
<tr><td class="bar">KAVERO<br>copy your data to your mySQL server</td></tr>
<tr><td>Data are now copied to your SQL server<br>
Se list below (Data is collected from mySQL server )</td></tr>
</table>
<p>
<?php
[$pdo, $connectError] = kavero_connect($login);
$listed = false;
if ($pdo === null) {
    echo "The list cannot be shown: connecting to the mySQL server failed.<br>\r\n", kavero_result($connectError);
} else {
    try {
        // Row by row from the server, so a large table needs no more memory than one record.
        $unbuffered = defined('Pdo\Mysql::ATTR_USE_BUFFERED_QUERY') ? constant('Pdo\Mysql::ATTR_USE_BUFFERED_QUERY')
            : PDO::MYSQL_ATTR_USE_BUFFERED_QUERY;
        $pdo->setAttribute($unbuffered, false);
        foreach ($pdo->query($query, PDO::FETCH_ASSOC) as $row) {
            foreach ($fields as $field) echo kavero_html((string) ($row[$field] ?? '')), ', ';
            echo "<br>\r\n";
        }
        $listed = true;
    } catch (PDOException $e) {
        echo "The list stopped: the mySQL server refused to read the table.<br>\r\n", kavero_result(kavero_error($e));
    }
}
?>
</p>
<table>
<tr><td><b><?php
// The table could be read back, so the copy is done: the pages lock themselves. After a failed
// connection or a missing table they stay open for a second try.
if (!$listed) {
    echo 'The pages are not locked: correct what failed (the login in the form above, where a password ',
        'typed is kept for this browser session, or the table), then start the copy again.';
} elseif (@file_put_contents(kavero_lock_file($kavero), "<?php // KAVERO page set: locked after the copy\n") !== false) {
    echo 'The copy is done and these pages are now locked. Delete them from the web server, ',
        'kavero-config.php first: it holds the MySQL password.';
} else {
    echo 'These pages could not lock themselves (the web server may not write into their folder). ',
        'Delete them from the web server now, kavero-config.php first: it holds the MySQL password.';
}
?></b></td></tr>
</table>
</body>
</html>
