# Settings of the Elvish shell.
set paths = [~/bin /usr/local/bin /usr/bin /bin]

fn ll {|@a| ls -l $@a }  # long listing

echo "Hello # world"
echo 'It''s # fine'
var help = 'first line
# second line'
echo $help
