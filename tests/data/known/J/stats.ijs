NB. Statistics of a list.
mean =: +/ % #
var =: mean@:*:@(- mean)  NB. population variance
sd =: %:@var

NB. Text with the marker inside a string:
title =: 'mean NB. and spread'
quote =: 'It''s NB. fine'

echo title
echo mean 1 2 3 4
