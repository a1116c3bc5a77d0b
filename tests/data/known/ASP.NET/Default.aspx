<%@ Page Language="C#" AutoEventWireup="true" CodeBehind="Default.aspx.cs" Inherits="Demo._Default" %>
<%-- Start page of the demo. --%>
<!DOCTYPE html>
<html>
<head runat="server"><title>Demo</title></head>
<body>
    <!-- The form posts back

         to this page. -->
    <form id="form1" runat="server">
        <asp:Label ID="Greeting" runat="server" /> <%-- set in code --%>
        <asp:Button ID="Go" runat="server" Text="Go" />
    </form>
</body>
</html>
