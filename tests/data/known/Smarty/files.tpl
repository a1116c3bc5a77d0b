{* The list of files in the report. *}
<h1>{$title}</h1>
<ul>
{foreach $files as $f}
  <li>{$f.path}: {$f.code}</li> {* one per file *}
{/foreach}
</ul>

{*
  The footer is shared;

  change it in footer.tpl.
*}
{include file="footer.tpl"}
