<?php
/**
 * Checks a login form.
 */
# hash comments are code for this counter
$user = $_POST['user'] ?? '';   // from the form
$pattern = "/^[a-z]+\/\/*$/";

function check($name) {
    /* one-line block */ return strlen($name) > 2;
}
echo 'path // literal';
echo "done"; /* trailing
   block */ exit(0);
?>
