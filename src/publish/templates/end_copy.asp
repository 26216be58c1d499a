<%@ Language="VBScript" CodePage="65001" %>
<%
Response.Buffer = True
Response.CharSet = "utf-8"
<serverfunctions>
%>
<pagestart>
<table>
<tr><td class="bar">KAVERO<br>copy your data to your mySQL server</td></tr>
<tr><td>Data are now copied to your SQL server<br>
Se list below (Data is collected from mySQL server )</td></tr>
</table>
<p>
<%
On Error Resume Next
Dim InsertPerpage, TotalRecs, Scope, SQLserveradr, SQLdatabase, SQLlogin, SQLpassword, conn, rs
InsertPerpage = Request.QueryString("ip")
TotalRecs = Request.QueryString("tr")
Scope = Request.QueryString("sc")
SQLserveradr = Request.QueryString("s")
SQLdatabase = Request.QueryString("d")
SQLlogin = Request.QueryString("u")
SQLpassword = Request.QueryString("p")
Set conn = Server.CreateObject("ADODB.Connection")
Err.Clear
conn.Open KaveroConnectText(SQLserveradr, SQLdatabase, SQLlogin, SQLpassword)
If Err.Number <> 0 Then
  Response.Write "The list cannot be shown: connecting to the mySQL server failed.<br>" & _
    KaveroResult(Err.Number, Err.Description)
Else
  Set rs = conn.Execute("<sqlstr>")
  If Err.Number <> 0 Then
    Response.Write "The list cannot be shown: the mySQL server refused to read the table.<br>" & _
      KaveroResult(Err.Number, Err.Description)
  Else
    ' Every failed read ends the list, so a lost connection cannot keep the page running.
    Do While Not rs.EOF
      If Err.Number <> 0 Then Exit Do
<fields>
      Response.Write "<br>" & vbCrLf
      Err.Clear
      rs.MoveNext
      If Err.Number <> 0 Then Exit Do
    Loop
    If Err.Number <> 0 Then
      Response.Write "The list stopped early.<br>" & KaveroResult(Err.Number, Err.Description)
    End If
    rs.Close
  End If
  conn.Close
End If
%>
</p>
</body>
</html>
