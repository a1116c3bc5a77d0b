<?xml version="1.0"?>
<!-- Turns the XML report into an HTML table. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:template match="/report">
    <table>
      <!-- one row per file,

           in the report's order -->
      <xsl:for-each select="file">
        <tr><td><xsl:value-of select="@path"/></td></tr> <!-- path only -->
      </xsl:for-each>
    </table>
  </xsl:template>

</xsl:stylesheet>
