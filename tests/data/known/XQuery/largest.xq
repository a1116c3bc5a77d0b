xquery version "3.1";
(: Lists the largest files of the report. :)

(: Comments nest in XQuery:
   (: an inner one :)

   and the outer one ends here. :)
declare variable $report := doc("report.xml");

for $f in $report//file
order by xs:integer($f/@code) descending (: largest first :)
return <file path="{$f/@path}" note="(: not a comment :)"/>
