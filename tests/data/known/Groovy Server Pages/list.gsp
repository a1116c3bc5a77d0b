<%-- List of the books. --%>
<html>
<head><title>Books</title></head>
<body>
  <!-- One row per book,

       sorted by title. -->
  <g:each in="${books}" var="book">
    <p>${book.title}</p> <%-- escaped --%>
  </g:each>
</body>
</html>
