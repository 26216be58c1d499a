<%@ Language="VBScript" CodePage="65001" %>
<pagestart>
<form method="get" name="KAVERO" action="<%=firstpage%>">
<table>
<tr><td class="bar">KAVERO<br>copy your data to your mySQL server</td></tr>
<tr><td>First create the table on by pressing the button above.<br>
When you successful have create the table.<br>
Start copying the data by press this button below.</td></tr>
<tr><td><input type="submit" value="Start copy <%=request.querystring("tr")%> records to your mySQL server"></td></tr>
</table>
<input type="hidden" name="cmd" value="run">
<input type="hidden" name="s" value="<%=request.querystring("s")%>">
<input type="hidden" name="d" value="<%=request.querystring("d")%>">
<input type="hidden" name="u" value="<%=request.querystring("u")%>">
<input type="<%=passwordtype%>" name="p" placeholder="Password" value="<%=request.querystring("p")%>">
<input type="hidden" name="tr" value="<%=request.querystring("tr")%>">
<input type="hidden" name="ip" value="<%=request.querystring("ip")%>">
<input type="hidden" name="sc" value="<%=request.querystring("sc")%>">
</form>
</body>
</html>
