## Renders the report page.
<%inherit file="base.mako"/>

<%doc>
    The rows come sorted by path;

    empty folders are left out.
</%doc>
<table>
% for row in rows:
  <tr><td>${row.path}</td><td>${row.code}</td></tr>
% endfor
</table>
  ## an indented comment line
<p>Total: ${sum(r.code for r in rows)} ## not at the start</p>
