<?php // KAVERO page set: the MySQL login and the key of the pages. Requested directly it outputs nothing.
// The values are base64, so no character of them can end the PHP code.
return [
    'run' => '<kavero:run>',
    'token' => '<kavero:token>',
    'server' => base64_decode('<kavero:server>'),
    'database' => base64_decode('<kavero:database>'),
    'user' => base64_decode('<kavero:user>'),
    'password' => base64_decode('<kavero:password>'),
];
