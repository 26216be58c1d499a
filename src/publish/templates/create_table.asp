<%@ Language="VBScript" CodePage="65001" %>
<%
Response.Buffer = True
Response.CharSet = "utf-8"
<serverfunctions>

' The text before the first ";" that stands outside quotes and backquotes; `rest` keeps what
' follows it. A script without such a ";" is one statement, so the page always comes to an end.
Function KaveroNextStatement(ByRef rest)
  Dim i, c, quote, escaped
  quote = ""
  escaped = False
  For i = 1 To Len(rest)
    c = Mid(rest, i, 1)
    If escaped Then
      escaped = False
    ElseIf quote = "" Then
      If c = ";" Then
        KaveroNextStatement = Left(rest, i - 1)
        rest = Mid(rest, i + 1)
        Exit Function
      ElseIf c = "'" Or c = """" Or c = "`" Then
        quote = c
      End If
    ElseIf c = "\" And quote <> "`" Then
      escaped = True
    ElseIf c = quote Then
      quote = ""
    End If
  Next
  KaveroNextStatement = rest
  rest = ""
End Function
%>
<pagestart>
<form method="post" name="KAVERO" action="createtable.asp">
<table>
<tr><td class="bar" colspan="2">KAVERO Publish your MS-Access databases to mySQL</td></tr>
<tr><td>Server name</td><td><input type="text" name="s" size="40" value="<%=request.form("s")%>"></td></tr>
<tr><td>Database name</td><td><input type="text" name="d" size="40" value="<%=request.form("d")%>"></td></tr>
<tr><td>Username</td><td><input type="text" name="u" size="40" value="<%=request.form("u")%>"></td></tr>
<tr><td>Password</td><td><input type="<%=passwordtype%>" name="p" size="40" value="<%=request.form("p")%>"></td></tr>
<tr><td>SQL Script</td><td><textarea name="q" rows="10" cols="74">
<%=request.form("q")%></textarea></td></tr>
<tr><td colspan="2"><input type="submit" value="Submit to mySQL server"> <input type="reset" value="Reset">
<input type="hidden" name="cmd" value="run"></td></tr>
</table>
</form>
<%
On Error Resume Next
If Request.Form("cmd") = "run" Then
  Dim connectText, conn, rest, statement, colour, number, description
  connectText = KaveroConnectText(Request.Form("s"), Request.Form("d"), Request.Form("u"), Request.Form("p"))
  Set conn = Server.CreateObject("ADODB.Connection")
  Err.Clear
  conn.Open connectText
  number = Err.Number
  description = Err.Description
%>
<table>
<tr><td><b>To use the mySQL server in your ASP script use the following connection string</b></td></tr>
<tr><td>Set Conn = Server.CreateObject("ADODB.Connection")<br>
Conn.Open "<%=Server.HTMLEncode(connectText)%>"</td></tr>
</table>
<table>
<tr><td class="bar" colspan="2">Publish result</td></tr>
<tr><td>Connecting to the mySQL server</td><td><%=KaveroResult(number, description)%></td></tr>
<%
  rest = Request.Form("q")
  colour = "#C0C0C0"
  Do While Len(rest) > 2
    statement = KaveroNextStatement(rest)
    If Len(statement) > 2 Then
      Err.Clear
      conn.Execute statement
      KaveroResultRow colour, statement, Err.Number, Err.Description
      Response.Flush
    Else
      Response.Write "<tr style=""background-color: " & colour & """></tr>" & vbCrLf
    End If
    If colour = "#C0C0C0" Then colour = "#FFFFFF" Else colour = "#C0C0C0"
  Loop
  Response.Write "</table>"
  conn.Close
End If
%>
</body>
</html>
